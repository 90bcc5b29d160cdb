#include "print/SiatkaWidokuX.h"

#include "data/ModelTabeli.h"
#include "print/Wydruk.h"

#include <QDebug>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSet>
#include <QTableView>

namespace rawen {

SiatkaWidokuX::SiatkaWidokuX(QTableView &widok, ModelTabeli &model)
    : m_widok(widok), m_model(model), m_zbior(model.tabela())
{}

QList<KolumnaSiatki> SiatkaWidokuX::kolumny()
{
    QList<KolumnaSiatki> wynik;
    const QHeaderView &naglowek = *m_widok.horizontalHeader();
    for (int miejsce = 0; miejsce < naglowek.count(); ++miejsce) {
        const int kolumna = naglowek.logicalIndex(miejsce);
        const ModelTabeli::Kolumna &opis = m_model.kolumny().at(kolumna);
        KolumnaSiatki k;
        k.pole = opis.pole;
        k.tytul = m_model.tytul(kolumna);
        k.szerokosc = m_widok.columnWidth(kolumna);
        k.widoczna = !m_widok.isColumnHidden(kolumna);
        QList<TytulNadrzedny> nadrzedne;
        for (const ModelTabeli::Nadrzedna &rodzic : m_model.nadrzedneKolumny(kolumna)) {
            nadrzedne << TytulNadrzedny{rodzic.tytul, rodzic.grupa, rodzic.widoczna};
            k.widoczna = k.widoczna && rodzic.widoczna;
        }
        k.grupa = PodpisGrupy(nadrzedne, opis.grupa);
        const Qt::Alignment wyrownanie = m_model.wyrownanie(kolumna);
        k.wyrownanie = wyrownanie & Qt::AlignRight     ? KolumnaSiatki::DoPrawej
                       : wyrownanie & Qt::AlignHCenter ? KolumnaSiatki::DoSrodka
                                                       : KolumnaSiatki::DoLewej;
        wynik << k;
    }
    return wynik;
}

QList<qint64> SiatkaWidokuX::zaznaczoneWiersze()
{
    QList<qint64> wynik;
    const QItemSelectionModel *zaznaczenie = m_widok.selectionModel();
    if (!zaznaczenie)
        return wynik;
    // Row by row in the order the ranges were selected, each row once.
    QSet<int> wziete;
    for (const QItemSelectionRange &zakres : zaznaczenie->selection()) {
        for (int wiersz = zakres.top(); wiersz <= zakres.bottom(); ++wiersz) {
            const qint64 zakladka = m_model.zakladka(wiersz);
            if (zakladka && !wziete.contains(wiersz)) {
                wziete.insert(wiersz);
                wynik << zakladka;
            }
        }
    }
    return wynik;
}

bool DrukujWidokX(Wydruk &wydruk, QTableView &widok, const QString &tytul, const QString &sumy,
                  qint32 ileNaglowkow)
{
    auto *model = qobject_cast<ModelTabeli *>(widok.model());
    if (!model) {
        qWarning() << "DrukujWidokX: the view shows no table of the engine";
        return false;
    }
    SiatkaWidokuX siatka(widok, *model);
    return wydruk.DrukujTabeleX(siatka, tytul, sumy, ileNaglowkow);
}

} // namespace rawen
