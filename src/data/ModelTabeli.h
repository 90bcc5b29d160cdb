#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace rawen {

class Table;

// A table of the engine as the model of a grid (a QTableView): a column for each field chosen,
// the records read through the table's cursor a window at a time as the view scrolls to them,
// each kept with its bookmark. What the view shows stays as it was read while other code walks
// the same table (table printing does); odswiez() reads it anew.
//
// The columns may hang under parent columns of a multi-level title: each parent has a caption,
// a group text of its own and a flag that hides everything under it.
class ModelTabeli : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Kolumna
    {
        QString pole;
        // The title's caption; empty: the field name.
        QString tytul;
        // Empty: numbers to the right, everything else to the left.
        Qt::Alignment wyrownanie = {};
        // The column's own group text, for the heading group over it.
        QString grupa;
        // The parent column in nadrzedne(); -1 for none.
        int nadrzedna = -1;
    };
    struct Nadrzedna
    {
        QString tytul;
        QString grupa;
        bool widoczna = true;
        int nadrzedna = -1;
    };

    // A column for each field of the open table, in the table's order.
    explicit ModelTabeli(Table &tabela, QObject *parent = nullptr);

    Table &tabela() const { return m_tabela; }

    // Parents are referred to by their place in `nadrzedne`, and only to earlier ones.
    void ustawKolumny(const QList<Kolumna> &kolumny, const QList<Nadrzedna> &nadrzedne = {});
    const QList<Kolumna> &kolumny() const { return m_kolumny; }
    const QList<Nadrzedna> &nadrzedne() const { return m_nadrzedne; }
    // The caption the title of column `kolumna` shows.
    QString tytul(int kolumna) const;
    // The alignment of the column's values, its own or the field's.
    Qt::Alignment wyrownanie(int kolumna) const;
    // The characters of the widest display text of the column's field
    // (FieldValues::displayWidth); 0 for a column that names no field of the table.
    int szerokoscZnakow(int kolumna) const;
    // The parent columns over a column, the outermost first.
    QList<Nadrzedna> nadrzedneKolumny(int kolumna) const;

    // The bookmark of a row read; 0 for none.
    qint64 zakladka(int wiersz) const;

    // Forgets the rows read; the view reads them anew from the first record.
    void odswiez();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    struct Wiersz
    {
        qint64 zakladka = 0;
        QStringList teksty;
    };

    Table &m_tabela;
    QList<Kolumna> m_kolumny;
    QList<int> m_pola; // of the columns in the table; -1 for a column that names no field
    QList<Nadrzedna> m_nadrzedne;
    std::vector<Wiersz> m_wiersze;
    bool m_wszystkie = false;
};

} // namespace rawen
