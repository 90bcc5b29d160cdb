#pragma once

#include "demo/BudowaKatalogu.h"

#include <QDate>
#include <QString>

namespace rawen {

// Makes the data root of a new office in `katalog` (created when missing, parents too; a
// relative path counts from the application's current directory), ready for work and holding
// no records but two: firm 000's firm table with its one record (number 0 and the short name
// `skrot`), the configuration table RAWEN.DB with its one record (the update check a month after
// `dzis`, every 30 days), and, empty, the year directory of `dzis`'s year with a table for every
// path of the year-copy rules and BAZA with its tables: the templates "Nowa firma" copies.
// Built as the demo data root is, under a temporary name renamed into place whole; an existing
// `katalog` that holds anything is refused. Raises BladBudowyKatalogu and leaves `katalog` as it
// found it when anything fails.
void UtworzNowyKatalogDanych(const QString &katalog, QDate dzis, const QString &skrot);

} // namespace rawen
