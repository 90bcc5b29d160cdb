#pragma once

#include "demo/TabeleDemo.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <exception>
#include <functional>

namespace rawen {

// Why a data root could not be made, in words for the user.
class BladBudowyKatalogu : public std::exception
{
public:
    explicit BladBudowyKatalogu(const QString &message)
        : m_message(message), m_utf8(message.toUtf8())
    {}

    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Marks in a template's texts and what they stand for.
using Podstawienia = QList<QPair<QString, QString>>;
// How many of a template's records its table gets.
using IleRekordow = std::function<int(const WzorTabeli &wzor)>;

// The directory and whichever of its parents are missing, each made through the store.
void UtworzKatalogi(const QString &sciezka);

// The table of `wzor` at `sciezka` with its first `rekordy` records.
void UtworzTabeleWzoru(const QString &sciezka, const WzorTabeli &wzor,
                       const Podstawienia &podstawienia, int rekordy);

// The year directory `rok` of the firm in `katalogFirmy`: a table for every path of the
// year-copy rules, so that a year opening meets each rule.
void UtworzRokWzoru(const QString &katalogFirmy, int rok, const Podstawienia &podstawienia,
                    const IleRekordow &rekordy);

// The firm's BAZA directory with its tables.
void UtworzBazeWzoru(const QString &katalogFirmy, const IleRekordow &rekordy);

// The firm table of `katalogFirmy` in the current layout, with its one record: the number and
// the given fields (names and values as the firm table's text forms take them).
void UtworzTabeleFirmyWzoru(const QString &katalogFirmy, int numer,
                            const QList<QPair<QString, QString>> &pola);

// What the user reads when `katalog` is no place for a new data root.
struct TekstyBudowy
{
    QString co;       // "Dane demonstracyjne": can be made only in an empty or a new directory
    QString nieUdalo; // "Nie udało się utworzyć ... %1: %2", the directory and the cause
};

// Makes a data root in `katalog` (created when missing, parents too) through the store:
// `zawartosc` fills a directory under a temporary name beside it, which then takes the name in
// one rename, so a run killed half-way leaves no half-made data root. An existing `katalog` that
// holds any entry is refused. Raises BladBudowyKatalogu and leaves `katalog` as it found it when
// anything fails.
void ZbudujKatalogDanych(const QString &katalog, const TekstyBudowy &teksty,
                         const std::function<void(const QString &budowa)> &zawartosc);

// `katalog` as an absolute, clean path; a relative one counts from the application context's
// current directory.
QString SciezkaBezwzgledna(const QString &katalog);

} // namespace rawen
