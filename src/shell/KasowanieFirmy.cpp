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

QString PytanieOKasowanie(const QString &pozycja)
{
    return QStringLiteral("Czy skasować firmę : ") + pozycja.mid(4, 40);
}

WynikKasowania SkasujFirme(const QString &katalogFirmy)
{
    WynikKasowania wynik;
    Store &magazyn = Store::current();
    const QString zrodlo = QDir::cleanPath(katalogFirmy);
    const QFileInfo wpis(zrodlo);
    const QString nazwa = wpis.fileName();
    const QString cel = wpis.path() + u'/' + u'#' + nazwa.mid(1);
    wynik.katalog = cel;
    auto blad = [&](const QString &przyczyna) {
        wynik.katalog = zrodlo;
        wynik.blad = QStringLiteral("Nie można skasować firmy z katalogu %1.\r%2\rFirma pozostaje "
                                    "w wykazie.")
                         .arg(QDir::toNativeSeparators(zrodlo), przyczyna);
        return wynik;
    };
    const auto zajety = [&] {
        return blad(QStringLiteral("Katalog %1 już istnieje: pozostał po firmie skasowanej "
                                   "wcześniej pod tym numerem. Należy go przenieść w inne miejsce "
                                   "lub zmienić jego nazwę.")
                        .arg(QDir::toNativeSeparators(magazyn.resolve(cel))));
    };
    if (nazwa.isEmpty())
        return blad(systemErrorText(ENOENT));
    // A case-blind system would see the same name.
    if (magazyn.exists(cel))
        return zajety();
    switch (magazyn.renameDirectory(zrodlo, cel)) {
    case MoveResult::Done:
        wynik.skasowana = true;
        return wynik;
    case MoveResult::TargetExists:
        return zajety();
    case MoveResult::Failed:
        break;
    }
    const QString przyczyna = magazyn.lastError();
    return blad(QStringLiteral("Nie można zmienić nazwy katalogu na %1: %2")
                    .arg(QFileInfo(cel).fileName(), przyczyna));
}

} // namespace rawen
