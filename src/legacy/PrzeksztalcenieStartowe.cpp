#include "legacy/PrzeksztalcenieStartowe.h"

#include "legacy/ImportKatalogu.h"
#include "legacy/TabelaParadox.h"
#include "platform/FileNames.h"
#include "platform/MessageBoxes.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

std::optional<QString> PrzeksztalcenieStartowe(const QString &katalog, OknoPostepu *postep)
{
    const QString firma =
        resolveCaseInsensitive(QDir(katalog).filePath(QStringLiteral("FIRMA.DB")));
    if (!JestTabelaParadox(firma))
        return std::nullopt;
    const QString nowy = KatalogPrzeksztalcenia(katalog);
    const QString stary =
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(katalog).absoluteFilePath()));
    const QString nowyNazwa = QDir::toNativeSeparators(nowy);
    MessageBoxes &okna = MessageBoxes::current();

    const QString firmaNowa =
        resolveCaseInsensitive(QDir(nowy).filePath(QStringLiteral("FIRMA.DB")));
    if (QFileInfo(firmaNowa).isFile() && !JestTabelaParadox(firmaNowa)) {
        if (okna.question(QStringLiteral("Dane poprzedniej wersji programu z katalogu %1 zostały "
                                         "już przekształcone do katalogu %2.\rCzy uruchomić "
                                         "program na przekształconych danych?")
                              .arg(stary, nowyNazwa),
                          MessageBoxes::Icon::Question))
            return nowy;
        return std::nullopt;
    }
    if (!okna.question(QStringLiteral("W katalogu danych %1 są dane poprzedniej wersji programu "
                                      "(tabela firmy FIRMA.DB w formacie Paradox), których ta "
                                      "wersja nie otwiera.\rProgram może je przekształcić do "
                                      "nowego katalogu danych %2 i uruchomić się na nich.\rDane "
                                      "w katalogu %1 nie zostaną zmienione.\rCzy przekształcić "
                                      "dane teraz?")
                           .arg(stary, nowyNazwa),
                       MessageBoxes::Icon::Question))
        return std::nullopt;

    QStringList dziennik;
    const WynikImportu wynik = ImportujKatalogDanych(
        katalog, nowy, {}, {[&](const QString &linia) { dziennik << linia; }, postep});
    if (!wynik.udany) {
        QStringList bledy = wynik.bledy.mid(0, 10);
        if (wynik.bledy.size() > 10)
            bledy << QStringLiteral("...");
        if (wynik.odmowa)
            bledy.clear();
        okna.error(QStringLiteral("Przekształcenie danych nie powiodło się.\r%1%2\rDane w katalogu "
                                  "%3 są bez zmian; program uruchomi się na nich.")
                       .arg(bledy.isEmpty() ? QString() : bledy.join(u'\r') + u'\r',
                            wynik.podsumowanie, stary));
        return std::nullopt;
    }
    okna.information(QStringLiteral("%1\rProgram uruchomi się teraz na nowym katalogu danych %2; "
                                    "dotychczasowego katalogu %3 nie zmieniono.")
                         .arg(wynik.podsumowanie, nowyNazwa, stary));
    return nowy;
}

} // namespace rawen
