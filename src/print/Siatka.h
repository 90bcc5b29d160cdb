#pragma once

#include <QList>
#include <QString>

namespace rawen {

// The records a grid shows, as table printing walks them: the grid's data set.
class ZbiorDanych
{
public:
    virtual ~ZbiorDanych() = default;

    virtual qint64 liczbaRekordow() = 0;
    // While the walk moves the data set, the controls bound to it are not told of every record.
    virtual void wylaczKontrolki() = 0;
    virtual void wlaczKontrolki() = 0;
    virtual void pierwszy() = 0;
    virtual void nastepny() = 0;
    virtual bool koniec() = 0;
    // Raises the data set's error when the record of the bookmark is gone.
    virtual void przejdzDo(qint64 zakladka) = 0;

    // The position of the field of that name; -1 when the data set has none. Fields are read by
    // position, so that a long walk does not look each name up again for every record.
    virtual int indeksPola(const QString &nazwa) = 0;
    // The current record's field as the grid shows it.
    virtual QString tekstPola(int indeks) = 0;
    // The field as a floating-point number; false when its value cannot be read as one.
    virtual bool liczbaPola(int indeks, double &liczba) = 0;
};

// A column of a grid, as table printing sees it.
struct KolumnaSiatki
{
    QString pole;
    // The grid's display width in screen pixels; a column not shown has -1 in a standard grid,
    // zero or less in an extended one.
    int szerokosc = 0;
    // The caption of the column's title: the one set on it, else the field's display name, else
    // the field name.
    QString tytul;

    // Read by the extended grid's printing only.
    // The column's own flag and those of every parent column of a multi-level title.
    bool widoczna = true;
    // The heading group over the column (PodpisGrupy); empty for none.
    QString grupa;
    enum Wyrownanie { DoLewej = 0, DoPrawej = 1, DoSrodka = 2 };
    int wyrownanie = DoLewej;
};

// A data grid that table printing takes: its data set and its columns in screen order.
// DrukujTabele prints every column of a standard grid; DrukujTabeleX the visible ones of an
// extended grid, with its group captions, alignment and selected rows.
class Siatka
{
public:
    virtual ~Siatka() = default;

    virtual ZbiorDanych &zbiorDanych() = 0;
    virtual QList<KolumnaSiatki> kolumny() = 0;
    // The bookmarks of the rows the user selected, in the order of the selection; empty when
    // there is no selection (a standard grid has none).
    virtual QList<qint64> zaznaczoneWiersze() { return {}; }
};

// A level of a multi-level column title: a parent column's caption, its own group text and
// whether it is shown.
struct TytulNadrzedny
{
    QString tytul;
    QString grupa;
    bool widoczny = true;
};

// The group caption of an extended grid's column under the parent columns `nadrzedne` (the
// outermost first) with its own group text: a column without a parent has its own group text;
// under a parent it is the parent's group caption and the parent's title joined by "|" (only
// the title when the former is empty, " " when both are), then "|" and its own group text when
// that is not empty. Columns under one parent thus share one caption.
QString PodpisGrupy(const QList<TytulNadrzedny> &nadrzedne, const QString &grupaWlasna);

} // namespace rawen
