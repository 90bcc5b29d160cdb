#include "data/SprawdzRok.h"

#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "format/Formatowanie.h"
#include "platform/AppContext.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "store/Store.h"

#include <QRegularExpression>

#include <optional>

namespace rawen {

namespace {

QStringList lataKatalogu(const QString &katalog)
{
    QStringList lata;
    for (const Store::Entry &wpis : Store::current().list(katalog)) {
        // Hidden entries are left out, as the old directory listing did.
        if (wpis.hidden || wpis.kind != Store::Kind::Directory)
            continue;
        if (wpis.name.isEmpty() || (wpis.name.at(0) != u'1' && wpis.name.at(0) != u'2'))
            continue;
        const QString rok = wpis.name.left(4);
        // Before the first greater entry: an equal name goes after the ones already there.
        qsizetype miejsce = 0;
        while (miejsce < lata.size() && lata[miejsce].compare(rok) <= 0)
            ++miejsce;
        lata.insert(miejsce, rok);
    }
    return lata;
}

// Two characters of OBRDATA as a number written by "99"; nothing when they are no number.
// Leading blanks and a sign are allowed, anything after the digits is not ("7." and "7 " are
// no numbers).
std::optional<QString> dwieCyfry(const QString &tekst)
{
    qsizetype i = 0;
    while (i < tekst.size() && tekst.at(i) == u' ')
        ++i;
    const QString liczba = tekst.mid(i);
    static const QRegularExpression calkowita(QStringLiteral("^[+-]?[0-9]+$"));
    if (!calkowita.match(liczba).hasMatch())
        return std::nullopt;
    return FormatujLiczbe(QStringLiteral("99"), liczba.toInt());
}

// The fiscal-year start as month.day, or nothing when the firm's year starts on 1 January.
std::optional<QString> poczatekRokuObrachunkowego(Table *tabelaFirmy)
{
    if (!tabelaFirmy || !tabelaFirmy->isOpen())
        return std::nullopt;
    QString obrdata;
    try {
        const Field pole = tabelaFirmy->findField(QStringLiteral("OBRDATA"));
        if (!pole.isValid())
            return std::nullopt;
        obrdata = pole.asString();
    } catch (const EngineError &) {
        return std::nullopt;
    }
    const std::optional<QString> miesiac = dwieCyfry(obrdata.mid(0, 2));
    const std::optional<QString> dzien = dwieCyfry(obrdata.mid(3, 2));
    if (!miesiac || !dzien)
        return std::nullopt;
    const QString poczatek = *miesiac + u'.' + *dzien;
    if (poczatek == QLatin1String("01.01"))
        return std::nullopt;
    return poczatek;
}

} // namespace

void SprawdzRok(WartosciProgramu &w, Table *tabelaFirmy)
{
    const AppContext &kontekst = AppContext::current();
    w.listaLat.clear();
    if (w.katalogDanych.isEmpty())
        w.katalogDanych = kontekst.dataRoot();
    w.listaLat = lataKatalogu(w.katalogDanych);

    // The check settles the year anew from the start-up date each time it runs, so that running
    // it again (after a restore) does not move the year back twice.
    w.rokRoboczy = w.dataStartu.left(4);

    const QString dzienStartu = w.dataStartu.mid(5, 5);
    const std::optional<QString> poczatek = poczatekRokuObrachunkowego(tabelaFirmy);
    if (poczatek && dzienStartu.compare(*poczatek) < 0)
        w.rokRoboczy = QString::number(w.rokRoboczy.toInt() - 1);

    const QStringList &argumenty = kontekst.arguments;
    if (argumenty.size() >= 2 && argumenty[0].toLower() == QLatin1String("rok"))
        w.rokRoboczy = argumenty[1].left(4);

    if (!w.listaLat.isEmpty() && !w.listaLat.contains(w.rokRoboczy)) {
        MessageBoxes::current().warning(QStringLiteral("Brak otwartego roku : ") + w.rokRoboczy +
                                        QStringLiteral("\rRok zostanie zmieniony na : ") +
                                        w.listaLat.last());
        w.rokRoboczy = w.listaLat.last();
    }

    if (dzienStartu.compare(QLatin1String("12.15")) > 0 && !w.listaLat.isEmpty()) {
        const QString nastepny = QString::number(w.dataStartu.left(4).toInt() + 1);
        if (!w.listaLat.contains(nastepny))
            MessageBoxes::current().warning(
                QStringLiteral("Proszę otworzyć nowy rok ") + nastepny +
                QStringLiteral("\rw celu poprawnego działania programu w nowym roku."));
    }
}

QStringList ListaLat(const QString &katalog)
{
    return lataKatalogu(katalog);
}

} // namespace rawen
