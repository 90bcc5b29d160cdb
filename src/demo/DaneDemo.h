#pragma once

#include "demo/BudowaKatalogu.h"

#include <QDate>
#include <QString>

namespace rawen {

// Why a demo data root could not be made, in words for the user.
using BladDanychDemo = BladBudowyKatalogu;

// Makes a data root filled with demonstration data in `katalog` (created when missing, parents
// too; a relative path counts from the application's current directory): firm 000 with its
// firm and configuration tables, the year directories of the year before `dzis` and of its year,
// and BAZA; the firms 001 and 002 with their firm table, the year of `dzis` and BAZA; and a copy
// of `programModulu` under the name of each of the eight modules, executable.
// Never overwrites anything: an existing `katalog` that holds any entry is refused. Raises
// BladDanychDemo and leaves `katalog` as it found it when anything fails.
void UtworzDaneDemo(const QString &katalog, QDate dzis, const QString &programModulu);

} // namespace rawen
