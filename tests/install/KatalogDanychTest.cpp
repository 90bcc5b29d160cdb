#include "install/KatalogDanych.h"

#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// A folder with the given files (empty ones: only their names count here).
QString katalogZ(const QTemporaryDir &podstawa, const QString &nazwa, const QStringList &pliki)
{
    const QString katalog = podstawa.filePath(nazwa);
    EXPECT_TRUE(QDir().mkpath(katalog));
    for (const QString &plik : pliki) {
        QFile f(QDir(katalog).filePath(plik));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    }
    return katalog;
}

TEST(KatalogDanych, AFolderWithTheFirmOrTheConfigurationTableIsADataRoot)
{
    QTemporaryDir podstawa;
    const struct
    {
        const char *nazwa;
        QStringList pliki;
        bool katalogDanych;
    } przypadki[] = {
        {"firma", {"FIRMA.DB"}, true},
        {"konfiguracja", {"RAWEN.DB"}, true},
        {"male litery", {"firma.db"}, true},
        {"pusty", {}, false},
        {"inne tabele", {"FIRMA.STR", "KONTRAHI.DB"}, false},
    };
    for (const auto &p : przypadki) {
        const QString katalog = katalogZ(podstawa, QString::fromUtf8(p.nazwa), p.pliki);
        EXPECT_EQ(JestKatalogiemDanych(katalog), p.katalogDanych) << p.nazwa;
    }
    // A directory named like the table is no table.
    const QString zKatalogiem = katalogZ(podstawa, QStringLiteral("katalog FIRMA.DB"), {});
    ASSERT_TRUE(QDir(zKatalogiem).mkdir(QStringLiteral("FIRMA.DB")));
    EXPECT_FALSE(JestKatalogiemDanych(zKatalogiem));
    EXPECT_FALSE(JestKatalogiemDanych(podstawa.filePath(QStringLiteral("brak"))));
    EXPECT_FALSE(JestKatalogiemDanych(QDir(katalogZ(podstawa, QStringLiteral("plik"), {"FIRMA.DB"}))
                                          .filePath(QStringLiteral("FIRMA.DB"))));
}

TEST(KatalogDanych, TheCommandLineNamesTheDataRootAndTheWorkingYearInAnyOrder)
{
    const struct
    {
        QStringList argumenty;
        const char *katalog;
        QStringList dlaRoku;
        const char *wBledzie; // "" when the command line is right
    } przypadki[] = {
        {{}, "", {}, ""},
        {{"rok", "2024"}, "", {"rok", "2024"}, ""},
        {{"ROK", "2024"}, "", {"ROK", "2024"}, ""},
        {{"/srv/biuro"}, "/srv/biuro", {}, ""},
        {{"/srv/biuro", "rok", "2024"}, "/srv/biuro", {"rok", "2024"}, ""},
        {{"rok", "2024", "biuro"}, "biuro", {"rok", "2024"}, ""},
        // "rok" alone at the end chooses nothing, as before; it is no folder.
        {{"biuro", "rok"}, "biuro", {"rok"}, ""},
        {{"biuro", "inne"}, "", {}, "inne"},
        {{"biuro", "--demo"}, "", {}, "--demo"},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.argumenty.join(u' ').toStdString());
        const ArgumentyStartu a = RozbierzArgumentyStartu(p.argumenty);
        if (*p.wBledzie) {
            EXPECT_TRUE(a.blad.contains(QString::fromUtf8(p.wBledzie))) << qPrintable(a.blad);
            continue;
        }
        EXPECT_EQ(a.blad, QString());
        EXPECT_EQ(a.katalog, QString::fromUtf8(p.katalog));
        EXPECT_EQ(a.dlaRoku, p.dlaRoku);
    }
}

// The command line first, then the program's own directory when it is a data root (a program
// copied into its data), then the choice remembered, else the window asks.
TEST(KatalogDanych, TheDataRootOfAStartComesFromTheCommandLineTheProgramsDirectoryOrTheSettings)
{
    QTemporaryDir podstawa;
    const QString biuro = katalogZ(podstawa, QStringLiteral("biuro"), {"FIRMA.DB"});
    const QString zapamietany = katalogZ(podstawa, QStringLiteral("zapamietany"), {"RAWEN.DB"});
    const QString pusty = katalogZ(podstawa, QStringLiteral("pusty"), {});
    const QString zProgramem = katalogZ(podstawa, QStringLiteral("z programem"), {"FIRMA.DB"});
    const QString instalacja = katalogZ(podstawa, QStringLiteral("usr/bin"), {});
    const QString brak = podstawa.filePath(QStringLiteral("brak"));

    const struct
    {
        const char *nazwa;
        QString program; // the executable's directory
        QString wierszPolecen;
        QString ustawienia;
        ZrodloKatalogu zrodlo;
        QString katalog;
        const char *wBledzie;
        const char *wUwadze;
    } przypadki[] = {
        {"z wiersza polecen", instalacja, biuro, zapamietany, ZrodloKatalogu::WierszPolecen, biuro,
         "", ""},
        {"wzgledny z wiersza polecen",
         instalacja,
         QStringLiteral("biuro"),
         {},
         ZrodloKatalogu::WierszPolecen,
         biuro,
         "",
         ""},
        {"przed katalogiem programu",
         zProgramem,
         biuro,
         {},
         ZrodloKatalogu::WierszPolecen,
         biuro,
         "",
         ""},
        {"brak z wiersza polecen", instalacja, brak, zapamietany, ZrodloKatalogu::WierszPolecen,
         brak, "Brak katalogu danych", ""},
        {"pusty z wiersza polecen", instalacja, pusty, zapamietany, ZrodloKatalogu::WierszPolecen,
         pusty, "nie jest katalogiem danych", ""},
        {"program w katalogu danych",
         zProgramem,
         {},
         zapamietany,
         ZrodloKatalogu::KatalogProgramu,
         zProgramem,
         "",
         ""},
        {"zapamietany",
         instalacja,
         {},
         zapamietany,
         ZrodloKatalogu::Ustawienia,
         zapamietany,
         "",
         ""},
        {"pierwsze uruchomienie", instalacja, {}, {}, ZrodloKatalogu::Wybor, {}, "", ""},
        {"zapamietany zniknal",
         instalacja,
         {},
         brak,
         ZrodloKatalogu::Wybor,
         {},
         "",
         "nie istnieje"},
        {"zapamietany bez danych",
         instalacja,
         {},
         pusty,
         ZrodloKatalogu::Wybor,
         {},
         "",
         "nie ma już tabeli danych o firmie"},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        AppContext kontekst;
        kontekst.executablePath = QDir(p.program).filePath(QStringLiteral("rawen"));
        kontekst.currentDirectory = podstawa.path();
        const KatalogStartu k = UstalKatalogStartu(kontekst, p.wierszPolecen, p.ustawienia);
        EXPECT_EQ(k.zrodlo, p.zrodlo);
        EXPECT_EQ(k.katalog, p.katalog);
        if (*p.wBledzie)
            EXPECT_TRUE(k.blad.contains(QString::fromUtf8(p.wBledzie))) << qPrintable(k.blad);
        else
            EXPECT_EQ(k.blad, QString());
        if (*p.wUwadze)
            EXPECT_TRUE(k.uwaga.contains(QString::fromUtf8(p.wUwadze))) << qPrintable(k.uwaga);
        else
            EXPECT_EQ(k.uwaga, QString());
    }
}

TEST(KatalogDanych, ARunOnAChosenDataRootOpensItsTablesThereAndAProgramInItsRootStaysAsItWas)
{
    AppContext kontekst;
    kontekst.executablePath = QStringLiteral("/usr/bin/rawen");
    kontekst.currentDirectory = QStringLiteral("/home/anna");
    kontekst.arguments = {QStringLiteral("/srv/biuro"), QStringLiteral("rok"),
                          QStringLiteral("2024")};
    const QStringList dlaRoku{QStringLiteral("rok"), QStringLiteral("2024")};

    const AppContext wybrany = KontekstKatalogu(
        kontekst, {ZrodloKatalogu::WierszPolecen, QStringLiteral("/srv/biuro"), {}, {}}, dlaRoku);
    EXPECT_EQ(wybrany.dataRoot(), QStringLiteral("/srv/biuro/"));
    EXPECT_EQ(wybrany.currentDirectory, QStringLiteral("/srv/biuro"));
    EXPECT_EQ(wybrany.arguments, dlaRoku);

    kontekst.executablePath = QStringLiteral("/srv/demo/rawen");
    const AppContext wlasny = KontekstKatalogu(
        kontekst, {ZrodloKatalogu::KatalogProgramu, QStringLiteral("/srv/demo"), {}, {}}, dlaRoku);
    EXPECT_EQ(wlasny.dataRoot(), QStringLiteral("/srv/demo/"));
    EXPECT_EQ(wlasny.chosenDataRoot, QString());
    EXPECT_EQ(wlasny.currentDirectory, QStringLiteral("/home/anna"));
    EXPECT_EQ(wlasny.arguments, dlaRoku);
}

// An old root the settings named and start-up converted is replaced in the settings by the new
// one; a root from the command line, a program in its own root, or a start that converted
// nothing leaves them alone.
TEST(KatalogDanych, OnlyARememberedRootConvertedAtStartIsRememberedAnew)
{
    const struct
    {
        const char *nazwa;
        ZrodloKatalogu zrodlo;
        QString poStarcie; // the chosen data root after start-up
        QString oczekiwany;
    } przypadki[] = {
        {"converted", ZrodloKatalogu::Ustawienia, QStringLiteral("/srv/STARY-RAWEN2"),
         QStringLiteral("/srv/STARY-RAWEN2")},
        {"not converted", ZrodloKatalogu::Ustawienia, QStringLiteral("/srv/STARY/"), {}},
        {"command line", ZrodloKatalogu::WierszPolecen, QStringLiteral("/srv/STARY-RAWEN2"), {}},
        {"chosen in the window", ZrodloKatalogu::Wybor, QStringLiteral("/srv/STARY-RAWEN2"), {}},
        {"program in its root", ZrodloKatalogu::KatalogProgramu, QString(), {}},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        AppContext poStarcie;
        poStarcie.chosenDataRoot = p.poStarcie;
        EXPECT_EQ(
            KatalogDoZapamietania({p.zrodlo, QStringLiteral("/srv/STARY"), {}, {}}, poStarcie),
            p.oczekiwany);
    }
}

} // namespace
} // namespace rawen::test
