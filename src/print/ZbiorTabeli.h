#pragma once

#include "print/Siatka.h"

namespace rawen {

class Table;

// A table of the engine as the data set of a grid: the display texts of its fields, its cursor
// and its bookmarks.
class ZbiorTabeli final : public ZbiorDanych
{
public:
    explicit ZbiorTabeli(Table &tabela) : m_tabela(tabela) {}

    Table &tabela() const { return m_tabela; }

    qint64 liczbaRekordow() override;
    void wylaczKontrolki() override;
    void wlaczKontrolki() override;
    void pierwszy() override;
    void nastepny() override;
    bool koniec() override;
    void przejdzDo(qint64 zakladka) override;
    int indeksPola(const QString &nazwa) override;
    QString tekstPola(int indeks) override;
    // A value that is no number (a text, a date) is not one; an empty one is 0.
    bool liczbaPola(int indeks, double &liczba) override;

private:
    Table &m_tabela;
};

} // namespace rawen
