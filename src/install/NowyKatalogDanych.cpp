#include "install/NowyKatalogDanych.h"

#include "data/Wsparcie.h"
#include "demo/TabeleDemo.h"

#include <QDir>

namespace rawen {

void UtworzNowyKatalogDanych(const QString &katalog, QDate dzis, const QString &skrot)
{
    const auto bezRekordow = [](const WzorTabeli &) { return 0; };
    ZbudujKatalogDanych(
        katalog,
        {QStringLiteral("Nowy katalog danych"),
         QStringLiteral("Nie udało się utworzyć nowego katalogu danych %1: %2")},
        [&](const QString &budowa) {
            UtworzTabeleFirmyWzoru(budowa, 0, {{QStringLiteral("SKROT"), skrot.trimmed()}});
            // The configuration table's fields are the demo's; its record is a new office's.
            const WzorTabeli &demo = WzorTabeliKonfiguracji();
            const QByteArray rekord =
                QStringLiteral("%1|30|2.0||%2")
                    .arg(dzis.addDays(30).toString(u"yyyy.MM.dd"), Wsparcie::adresAktualizacji())
                    .toUtf8();
            const WzorTabeli konfiguracja{
                demo.sciezka, demo.pola, demo.klucz, demo.drugiIndeks, {rekord.constData()}};
            UtworzTabeleWzoru(QDir(budowa).filePath(QString::fromLatin1(demo.sciezka)),
                              konfiguracja, {}, 1);
            UtworzRokWzoru(budowa, dzis.year(), {}, bezRekordow);
            UtworzBazeWzoru(budowa, bezRekordow);
        });
}

} // namespace rawen
