#include "print/SiatkaWidoku.h"

#include "data/ModelTabeli.h"
#include "print/Wydruk.h"

#include <QDebug>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

namespace rawen {

SiatkaWidoku::SiatkaWidoku(QTableView &widok, ModelTabeli &model)
    : m_widok(widok), m_model(model), m_zbior(model.tabela())
{}

QList<KolumnaSiatki> SiatkaWidoku::kolumny()
{
    QList<KolumnaSiatki> wynik;
    const QHeaderView &naglowek = *m_widok.horizontalHeader();
    for (int miejsce = 0; miejsce < naglowek.count(); ++miejsce) {
        const int kolumna = naglowek.logicalIndex(miejsce);
        KolumnaSiatki k;
        k.pole = m_model.kolumny().at(kolumna).pole;
        k.tytul = m_model.tytul(kolumna);
        k.szerokosc = m_widok.isColumnHidden(kolumna) ? -1 : m_widok.columnWidth(kolumna);
        wynik << k;
    }
    return wynik;
}

void UstawSzerokosciKolumn(QTableView &widok, const ModelTabeli &model)
{
    const QFontMetrics miara = widok.fontMetrics();
    const QFontMetrics miaraTytulu(widok.horizontalHeader()->font());
    const int zero = miara.horizontalAdvance(u'0');
    for (int kolumna = 0; kolumna < model.columnCount(); ++kolumna) {
        widok.setColumnWidth(kolumna,
                             qMax(zero * model.szerokoscZnakow(kolumna) + 4,
                                  miaraTytulu.horizontalAdvance(model.tytul(kolumna)) + 4));
    }
}

bool DrukujWidok(Wydruk &wydruk, QTableView &widok, const QString &tytul)
{
    auto *model = qobject_cast<ModelTabeli *>(widok.model());
    if (!model) {
        qWarning() << "DrukujWidok: the view shows no table of the engine";
        return false;
    }
    SiatkaWidoku siatka(widok, *model);
    return wydruk.DrukujTabele(siatka, tytul);
}

} // namespace rawen
