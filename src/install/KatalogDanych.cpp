#include "install/KatalogDanych.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

QString bezwzgledna(const AppContext &kontekst, const QString &katalog)
{
    if (!QDir::isRelativePath(katalog))
        return QDir::cleanPath(katalog);
    const QString podstawa =
        kontekst.currentDirectory.isEmpty() ? QDir::currentPath() : kontekst.currentDirectory;
    return QDir::cleanPath(QDir(podstawa).filePath(katalog));
}

bool maTabele(const QString &katalog, const QString &nazwa)
{
    return QFileInfo(resolveCaseInsensitive(QDir(katalog).filePath(nazwa))).isFile();
}

const QString kBrakTabel = QStringLiteral("tabeli danych o firmie FIRMA.DB ani tabeli konfiguracji "
                                          "RAWEN.DB");

// Why the folder named on the command line is no data root; empty when it is one.
QString bladWierszaPolecen(const QString &katalog)
{
    const QString nazwa = QDir::toNativeSeparators(katalog);
    if (!QFileInfo(katalog).isDir())
        return QStringLiteral("Brak katalogu danych %1.").arg(nazwa);
    if (!JestKatalogiemDanych(katalog))
        return QStringLiteral("Katalog %1 nie jest katalogiem danych programu: nie ma w nim %2.\r"
                              "Nowy katalog danych tworzy polecenie rawen --wybierz-katalog.")
            .arg(nazwa, kBrakTabel);
    return QString();
}

// Why the remembered data root can no longer be opened; empty when it can.
QString bladZapamietanego(const QString &katalog)
{
    const QString nazwa = QDir::toNativeSeparators(katalog);
    if (!QFileInfo(katalog).isDir())
        return QStringLiteral("Zapamiętany katalog danych %1 nie istnieje.").arg(nazwa);
    if (!JestKatalogiemDanych(katalog))
        return QStringLiteral("W zapamiętanym katalogu danych %1 nie ma już %2.")
            .arg(nazwa, kBrakTabel);
    return QString();
}

} // namespace

bool JestKatalogiemDanych(const QString &katalog)
{
    return QFileInfo(katalog).isDir() && (maTabele(katalog, QStringLiteral("FIRMA.DB")) ||
                                          maTabele(katalog, QStringLiteral("RAWEN.DB")));
}

ArgumentyStartu RozbierzArgumentyStartu(const QStringList &argumenty)
{
    ArgumentyStartu wynik;
    for (qsizetype i = 0; i < argumenty.size(); ++i) {
        const QString &argument = argumenty[i];
        if (argument.toLower() == QLatin1String("rok") && wynik.dlaRoku.isEmpty()) {
            // "rok" takes the argument after it, whatever it is; alone at the end it chooses
            // nothing, as it never did.
            wynik.dlaRoku << argument;
            if (i + 1 < argumenty.size())
                wynik.dlaRoku << argumenty[++i];
        } else if (argument.startsWith(QLatin1String("--"))) {
            wynik.blad = QStringLiteral("Opcja %1 może stać tylko na początku wiersza polecenia "
                                        "(rawen --help opisuje polecenia).")
                             .arg(argument);
            return wynik;
        } else if (wynik.katalog.isEmpty() && !argument.isEmpty()) {
            wynik.katalog = argument;
        } else {
            wynik.blad = QStringLiteral("Nieoczekiwany argument %1. Użycie: rawen [KATALOG] "
                                        "[rok RRRR]")
                             .arg(argument);
            return wynik;
        }
    }
    return wynik;
}

KatalogStartu UstalKatalogStartu(const AppContext &kontekst, const QString &zWierszaPolecen,
                                 const QString &zapamietany)
{
    KatalogStartu wynik;
    if (!zWierszaPolecen.isEmpty()) {
        wynik.zrodlo = ZrodloKatalogu::WierszPolecen;
        wynik.katalog = bezwzgledna(kontekst, zWierszaPolecen);
        wynik.blad = bladWierszaPolecen(wynik.katalog);
        return wynik;
    }
    const QString katalogProgramu = QDir::cleanPath(kontekst.executableDirectory());
    if (JestKatalogiemDanych(katalogProgramu)) {
        wynik.zrodlo = ZrodloKatalogu::KatalogProgramu;
        wynik.katalog = katalogProgramu;
        return wynik;
    }
    if (!zapamietany.isEmpty()) {
        const QString katalog = bezwzgledna(kontekst, zapamietany);
        const QString brak = bladZapamietanego(katalog);
        if (brak.isEmpty()) {
            wynik.zrodlo = ZrodloKatalogu::Ustawienia;
            wynik.katalog = katalog;
            return wynik;
        }
        wynik.uwaga = brak;
    }
    return wynik;
}

AppContext KontekstKatalogu(const AppContext &kontekst, const KatalogStartu &katalog,
                            const QStringList &dlaRoku)
{
    AppContext wynik = kontekst;
    wynik.arguments = dlaRoku;
    if (katalog.zrodlo != ZrodloKatalogu::KatalogProgramu) {
        wynik.chosenDataRoot = katalog.katalog;
        wynik.currentDirectory = katalog.katalog;
    }
    return wynik;
}

QString KatalogDoZapamietania(const KatalogStartu &start, const AppContext &poStarcie)
{
    if (start.zrodlo != ZrodloKatalogu::Ustawienia || poStarcie.chosenDataRoot.isEmpty() ||
        QDir::cleanPath(poStarcie.chosenDataRoot) == QDir::cleanPath(start.katalog))
        return QString();
    return QDir::cleanPath(poStarcie.chosenDataRoot);
}

} // namespace rawen
