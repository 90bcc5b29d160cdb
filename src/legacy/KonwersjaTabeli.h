#pragma once

#include "legacy/TabelaParadox.h"
#include "store/TableFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rawen {

// What a column of values adds up to: how many are empty and an order-free sum of a hash of
// each value in the form the engine stores it. The legacy reading and the converted table must
// come to the same figures.
struct SumaPola
{
    qint64 puste = 0;
    quint64 suma = 0;
    friend bool operator==(const SumaPola &, const SumaPola &) = default;
};

struct WynikTabeli
{
    qint64 rekordy = 0;
    qint64 notatki = 0; // memo and blob values, wherever they were stored
    QStringList ostrzezenia;
    QString kodowanie; // the converter used and how it was chosen
    QList<SumaPola> sumy;
};

// The engine's type for a field of the previous generation's.
TFieldType TypSilnika(TypParadox typ);

// The definitions of the table of ours a legacy table becomes: its fields with their names,
// types and sizes, and its indexes as CzytajIndeksyParadox finds them (warnings go to
// `ostrzezenia`).
TableFile::Definitions DefinicjeZParadoxu(TabelaParadox &tabela, QStringList *ostrzezenia);

// Converts the legacy table `zrodlo` into the new table file `cel` (which must not exist): every
// record, every value as the engine stores it, its indexes; then reads `cel` back through the
// engine and compares it with the legacy reading, field by field. `nazwa` names the table in
// messages. Raises BladParadox for a damaged legacy table, a value the engine cannot hold
// exactly, or a read-back that differs; EngineError when writing fails. Nothing is left at `cel`
// unless it succeeds.
WynikTabeli PrzeksztalcTabele(const QString &zrodlo, const QString &cel, const QString &nazwa,
                              const QString &wymuszoneKodowanie = {});

// The read-back: the figures of every field of the table of ours at `sciezka`.
QList<SumaPola> SumyTabeli(const QString &sciezka, qint64 *rekordy);

} // namespace rawen
