#include "print/SiatkaTabeli.h"

#include "data/Table.h"
#include "store/FieldValues.h"

namespace rawen {

namespace {

// A grid is as wide in pixels as table printing divides by for one character.
constexpr int kPikseliNaZnak = 6;

} // namespace

SiatkaTabeli::SiatkaTabeli(Table &tabela, const QStringList &pola) : m_zbior(tabela)
{
    QList<int> indeksy;
    if (pola.isEmpty()) {
        for (int i = 0; i < tabela.fieldCount(); ++i) {
            const Storage zapis = storageOf(tabela.fieldDefs()[i].dataType);
            if (zapis != Storage::Blob && zapis != Storage::Unsupported)
                indeksy << i;
        }
    } else {
        for (const QString &nazwa : pola)
            indeksy << tabela.fieldIndex(nazwa);
    }
    for (int indeks : std::as_const(indeksy)) {
        KolumnaSiatki kolumna;
        if (indeks < 0) {
            // Left for printing to refuse with its message.
            kolumna.pole = pola.value(m_kolumny.size());
            kolumna.tytul = kolumna.pole;
            kolumna.szerokosc = qMax<int>(kolumna.pole.size(), 1) * kPikseliNaZnak;
            m_kolumny << kolumna;
            continue;
        }
        const FieldDef &pole = tabela.fieldDefs()[indeks];
        kolumna.pole = pole.name;
        kolumna.tytul = pole.name;
        kolumna.szerokosc =
            qMin(qMax<int>(FieldValues::displayWidth(pole), pole.name.size()), 255) *
            kPikseliNaZnak;
        kolumna.wyrownanie =
            isNumberType(pole.dataType) ? KolumnaSiatki::DoPrawej : KolumnaSiatki::DoLewej;
        m_kolumny << kolumna;
    }
}

} // namespace rawen
