#include "shell/KasowanieFirmy.h"

#include "platform/DurableFiles.h"
#include "store/Store.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace rawen {

bool FirmaWKataloguGlownym(const QString &pozycja)
{
    return pozycja.left(3) == QLatin1String("000");
}

QString PowodFirmy000()
{
    return QStringLiteral("Firmy 000 nie można skasować: jej dane leżą w katalogu programu razem "
                          "z wykazem firm i wzorcami tabel nowych firm.");
}

QString OdpowiedzPoKasowaniu(const QString &numer, const QString &katalog)
{
    return QStringLiteral("Firma %1 została usunięta z wykazu.\rJej dane pozostają w katalogu "
                          "%2.")
        .arg(numer, QDir::toNativeSeparators(katalog));
}

QString PytanieOKasowanie(const QString &pozycja)
{
    return QStringLiteral("Czy skasować firmę : ") + pozycja.mid(4, 40);
}

namespace {

// How many deleted firms of one number are kept before the deletion gives up.
constexpr int kNajwiecejSkasowanych = 999;

} // namespace

WynikKasowania SkasujFirme(const QString &katalogFirmy)
{
    WynikKasowania wynik;
    Store &magazyn = Store::current();
    const QString zrodlo = QDir::cleanPath(katalogFirmy);
    const QFileInfo wpis(zrodlo);
    const QString nazwa = wpis.fileName();
    const QString pierwsza = wpis.path() + u'/' + u'#' + nazwa.mid(1);
    auto blad = [&](const QString &przyczyna) {
        wynik.katalog = zrodlo;
        wynik.blad = QStringLiteral("Nie można skasować firmy z katalogu %1.\r%2\rFirma pozostaje "
                                    "w wykazie.")
                         .arg(QDir::toNativeSeparators(zrodlo), przyczyna);
        return wynik;
    };
    if (nazwa.isEmpty())
        return blad(systemErrorText(ENOENT));
    // A firm deleted earlier under the same number keeps its name: this one takes the next
    // free one, #IRMA002-2, #IRMA002-3 ..., which no firm directory can have. A name is free
    // only when nothing of it exists in any case, and the rename never replaces anything.
    for (int numer = 1; numer <= kNajwiecejSkasowanych; ++numer) {
        const QString cel = numer == 1 ? pierwsza : pierwsza + QStringLiteral("-%1").arg(numer);
        if (magazyn.exists(cel))
            continue;
        switch (magazyn.renameDirectory(zrodlo, cel)) {
        case MoveResult::Done:
            wynik.skasowana = true;
            wynik.katalog = cel;
            return wynik;
        case MoveResult::TargetExists:
            continue;
        case MoveResult::Failed:
            break;
        }
        const QString przyczyna = magazyn.lastError();
        return blad(QStringLiteral("Nie można zmienić nazwy katalogu na %1: %2")
                        .arg(QFileInfo(cel).fileName(), przyczyna));
    }
    return blad(QStringLiteral("Wszystkie nazwy od %1 do %1-%2 są już zajęte przez firmy "
                               "skasowane wcześniej.")
                    .arg(QFileInfo(pierwsza).fileName())
                    .arg(kNajwiecejSkasowanych));
}

} // namespace rawen
