#pragma once

#include "print/Siatka.h"
#include "print/ZbiorTabeli.h"

#include <QStringList>

namespace rawen {

class Table;

// An extended grid over a table of the engine without a window: a column for each field named,
// or for each field that prints as text, titled with the field name, as wide as the field's
// display texts (FieldValues::displayWidth, and at least as its name), numbers aligned right. What
// prints a table from the command line.
class SiatkaTabeli final : public Siatka
{
public:
    // The names must be fields of `tabela`; an empty list takes every field but the binary ones.
    explicit SiatkaTabeli(Table &tabela, const QStringList &pola = {});

    ZbiorDanych &zbiorDanych() override { return m_zbior; }
    QList<KolumnaSiatki> kolumny() override { return m_kolumny; }

private:
    ZbiorTabeli m_zbior;
    QList<KolumnaSiatki> m_kolumny;
};

} // namespace rawen
