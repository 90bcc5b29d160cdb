#include "data/ModelTabeli.h"

#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/FieldValues.h"

#include <QDebug>

namespace rawen {

namespace {

// Records read at a time as the view scrolls: as many as the cursor's window holds.
constexpr int kPorcja = 256;

} // namespace

ModelTabeli::ModelTabeli(Table &tabela, QObject *parent)
    : QAbstractTableModel(parent), m_tabela(tabela)
{
    QList<Kolumna> kolumny;
    for (const FieldDef &pole : tabela.fieldDefs())
        kolumny.append(Kolumna{pole.name, {}, {}, {}, -1});
    ustawKolumny(kolumny);
}

void ModelTabeli::ustawKolumny(const QList<Kolumna> &kolumny, const QList<Nadrzedna> &nadrzedne)
{
    beginResetModel();
    m_kolumny = kolumny;
    m_nadrzedne = nadrzedne;
    m_pola.clear();
    for (const Kolumna &kolumna : kolumny)
        m_pola << (kolumna.pole.isEmpty() ? -1 : m_tabela.fieldIndex(kolumna.pole));
    m_wiersze.clear();
    m_wszystkie = false;
    endResetModel();
}

QString ModelTabeli::tytul(int kolumna) const
{
    const Kolumna &k = m_kolumny.at(kolumna);
    return k.tytul.isEmpty() ? k.pole : k.tytul;
}

Qt::Alignment ModelTabeli::wyrownanie(int kolumna) const
{
    const Kolumna &k = m_kolumny.at(kolumna);
    if (k.wyrownanie != Qt::Alignment())
        return k.wyrownanie;
    const int pole = m_pola.at(kolumna);
    if (pole >= 0 && isNumberType(m_tabela.fieldDefs().at(pole).dataType))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

int ModelTabeli::szerokoscZnakow(int kolumna) const
{
    const int pole = m_pola.at(kolumna);
    return pole >= 0 ? FieldValues::displayWidth(m_tabela.fieldDefs().at(pole)) : 0;
}

QList<ModelTabeli::Nadrzedna> ModelTabeli::nadrzedneKolumny(int kolumna) const
{
    QList<Nadrzedna> wynik;
    int rodzic = m_kolumny.at(kolumna).nadrzedna;
    // Only earlier parents can be named, so the chain ends; a wrong index ends it too.
    while (rodzic >= 0 && rodzic < m_nadrzedne.size() && wynik.size() <= m_nadrzedne.size()) {
        wynik.prepend(m_nadrzedne[rodzic]);
        rodzic = m_nadrzedne[rodzic].nadrzedna;
    }
    return wynik;
}

qint64 ModelTabeli::zakladka(int wiersz) const
{
    if (wiersz < 0 || std::size_t(wiersz) >= m_wiersze.size())
        return 0;
    return m_wiersze[std::size_t(wiersz)].zakladka;
}

void ModelTabeli::odswiez()
{
    beginResetModel();
    m_wiersze.clear();
    m_wszystkie = false;
    endResetModel();
}

int ModelTabeli::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_wiersze.size());
}

int ModelTabeli::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_kolumny.size());
}

QVariant ModelTabeli::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_wiersze.size() ||
        index.column() >= m_kolumny.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_wiersze[std::size_t(index.row())].teksty.value(index.column());
    case Qt::TextAlignmentRole:
        return int(wyrownanie(index.column()) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ModelTabeli::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_kolumny.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return tytul(section);
    return {};
}

bool ModelTabeli::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_wszystkie && m_tabela.isOpen();
}

void ModelTabeli::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    std::vector<Wiersz> nowe;
    try {
        // Other code may have moved the cursor since: the walk goes on from the last row read.
        if (m_wiersze.empty()) {
            m_tabela.first();
        } else {
            m_tabela.gotoBookmark(m_wiersze.back().zakladka);
            m_tabela.next();
        }
        for (; !m_tabela.eof() && int(nowe.size()) < kPorcja; m_tabela.next()) {
            Wiersz wiersz;
            wiersz.zakladka = m_tabela.bookmark();
            for (int pole : std::as_const(m_pola))
                wiersz.teksty << (pole >= 0 ? m_tabela.field(pole).displayText() : QString());
            nowe.push_back(std::move(wiersz));
        }
        m_wszystkie = m_tabela.eof();
    } catch (const EngineError &blad) {
        // A table that fails under the view shows what was read; the view does not ask again.
        qWarning() << "ModelTabeli:" << blad.message();
        m_wszystkie = true;
    }
    if (nowe.empty())
        return;
    beginInsertRows(QModelIndex(), int(m_wiersze.size()), int(m_wiersze.size() + nowe.size()) - 1);
    for (Wiersz &wiersz : nowe)
        m_wiersze.push_back(std::move(wiersz));
    endInsertRows();
}

} // namespace rawen
