#include "install/WyborKatalogu.h"

#include "install/KatalogDanych.h"
#include "legacy/TabelaParadox.h"
#include "platform/FileSystemType.h"
#include "platform/Registry.h"
#include "platform/Ustawienia.h"
#include "support/FixedAppContext.h"
#include "support/PisarzParadox.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QDate kDzis(2024, 3, 10);

QString programModulu()
{
    return QStringLiteral(RAWEN_MODUL_DEMO);
}

class WyborKataloguTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_katalog.isValid() && m_ustawienia.isValid());
        Ustawienia::redirectTo(m_ustawienia.path());
        ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("istniejacy"))));
        QFile firma(sciezka(QStringLiteral("istniejacy/FIRMA.DB")));
        ASSERT_TRUE(firma.open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("pusty"))));
        ASSERT_TRUE(QDir().mkpath(sciezka(QStringLiteral("zajety/2024"))));
    }
    void TearDown() override
    {
        setFileSystemProbe({});
        Registry::redirectTo(QString());
        Ustawienia::redirectTo(QString());
    }

    QString sciezka(const QString &nazwa) const { return m_katalog.filePath(nazwa); }

    QTemporaryDir m_katalog;
    QTemporaryDir m_ustawienia;
    FixedAppContext m_kontekst{
        AppContext{kDzis, QStringLiteral("/usr/bin/rawen"), {}, m_katalog.path(), {}, {}}};
};

// Each choice opens its data root and remembers it; a choice that fails says why, opens nothing
// and leaves the remembered one as it was.
TEST_F(WyborKataloguTest, EachChoiceOpensItsDataRootAndIsRememberedOnlyWhenItWorked)
{
    const struct
    {
        const char *nazwa;
        RodzajWyboru rodzaj;
        QString katalog;
        QString program;      // the demo's stand-in module program
        const char *wBledzie; // "" when the choice works
    } przypadki[] = {
        {"istniejacy", RodzajWyboru::Istniejacy, sciezka("istniejacy"), {}, ""},
        {"istniejacy wzgledny", RodzajWyboru::Istniejacy, QStringLiteral("istniejacy/"), {}, ""},
        {"istniejacy brak", RodzajWyboru::Istniejacy, sciezka("brak"), {}, "Brak katalogu"},
        {"istniejacy pusty",
         RodzajWyboru::Istniejacy,
         sciezka("pusty"),
         {},
         "nie jest katalogiem danych"},
        {"bez sciezki", RodzajWyboru::Istniejacy, QStringLiteral("  "), {}, "Podaj katalog"},
        {"nowy", RodzajWyboru::Nowy, sciezka("nowy/Biuro"), {}, ""},
        {"nowy w pustym", RodzajWyboru::Nowy, sciezka("pusty"), {}, ""},
        {"nowy w zajetym", RodzajWyboru::Nowy, sciezka("zajety"), {}, "nie jest pusty"},
        {"demo", RodzajWyboru::Demo, sciezka("demo"), programModulu(), ""},
        {"demo bez modulu", RodzajWyboru::Demo, sciezka("demo2"), sciezka("brak/rawen-modul-demo"),
         "rawen-modul-demo"},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const QString poprzedni = QStringLiteral("/srv/poprzedni");
        {
            Ustawienia u;
            ASSERT_TRUE(u.zapamietajKatalogDanych(poprzedni));
        }
        Ustawienia ustawienia;
        const WynikWyboru wynik = WykonajWybor({p.rodzaj, p.katalog, QStringLiteral("Biuro")},
                                               kDzis, p.program, ustawienia);
        EXPECT_EQ(wynik.uwaga, QString());
        if (*p.wBledzie) {
            EXPECT_TRUE(wynik.blad.contains(QString::fromUtf8(p.wBledzie)))
                << qPrintable(wynik.blad);
            EXPECT_EQ(wynik.katalog, QString());
            EXPECT_EQ(Ustawienia().katalogDanych(), poprzedni);
            continue;
        }
        EXPECT_EQ(wynik.blad, QString());
        const QString oczekiwany =
            QDir::cleanPath(QDir(m_katalog.path()).absoluteFilePath(p.katalog.trimmed()));
        EXPECT_EQ(wynik.katalog, oczekiwany);
        EXPECT_TRUE(JestKatalogiemDanych(wynik.katalog));
        EXPECT_EQ(Ustawienia().katalogDanych(), oczekiwany);
    }
}

TEST_F(WyborKataloguTest, AChoiceThatCannotBeRememberedStillOpensAndSaysSo)
{
    const QString plik = sciezka(QStringLiteral("plik"));
    QFile f(plik);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    Ustawienia::redirectTo(plik + QStringLiteral("/RAWEN"));
    Ustawienia ustawienia;
    const WynikWyboru wynik =
        WykonajWybor({RodzajWyboru::Istniejacy, sciezka(QStringLiteral("istniejacy")), {}}, kDzis,
                     {}, ustawienia);
    EXPECT_EQ(wynik.katalog, sciezka(QStringLiteral("istniejacy")));
    EXPECT_EQ(wynik.blad, QString());
    EXPECT_TRUE(wynik.uwaga.contains(QStringLiteral("Nie można zapamiętać")))
        << qPrintable(wynik.uwaga);
}

// A share (a folder the probe takes as NFS): no choice makes or remembers a data root there
// unless the user said to go on, and then each is made and remembered as on a local disk.
TEST_F(WyborKataloguTest, NoDataRootIsMadeOrRememberedOnANetworkDriveUnlessTheUserSaidToGoOn)
{
    const QString udzial = sciezka(QStringLiteral("udzial"));
    ASSERT_TRUE(QDir().mkpath(udzial + QStringLiteral("/istniejacy")));
    QFile firma(udzial + QStringLiteral("/istniejacy/FIRMA.DB"));
    ASSERT_TRUE(firma.open(QIODevice::WriteOnly));
    firma.close();
    QTemporaryDir rejestr;
    ASSERT_TRUE(rejestr.isValid());
    Registry::redirectTo(rejestr.path());
    setFileSystemProbe([udzial](const QString &s) -> std::optional<FileSystemType> {
        const bool siec = s == udzial || s.startsWith(udzial + u'/');
        return FileSystemType{siec ? 0x6969u : 0xEF53u, {}, false};
    });
    const struct
    {
        const char *nazwa;
        RodzajWyboru rodzaj;
        QString katalog;
    } przypadki[] = {
        {"istniejacy", RodzajWyboru::Istniejacy, udzial + QStringLiteral("/istniejacy")},
        {"nowy", RodzajWyboru::Nowy, udzial + QStringLiteral("/nowy/Biuro")},
        {"demo", RodzajWyboru::Demo, udzial + QStringLiteral("/demo")},
    };
    for (const bool mimo : {false, true}) {
        AppContext kontekst = AppContext::current();
        kontekst.networkDriveAllowed = mimo;
        FixedAppContext zmieniony(kontekst);
        for (const auto &p : przypadki) {
            SCOPED_TRACE(std::string(p.nazwa) + (mimo ? ", the option given" : ""));
            const QString poprzedni = QStringLiteral("/srv/poprzedni");
            ASSERT_TRUE(Ustawienia().zapamietajKatalogDanych(poprzedni));
            Ustawienia ustawienia;
            const WynikWyboru wynik = WykonajWybor({p.rodzaj, p.katalog, QStringLiteral("Biuro")},
                                                   kDzis, programModulu(), ustawienia);
            if (!mimo) {
                EXPECT_TRUE(wynik.blad.contains(QStringLiteral("leży na dysku sieciowym (NFS)")))
                    << qPrintable(wynik.blad);
                EXPECT_TRUE(wynik.blad.contains(QStringLiteral("--mimo-dysku-sieciowego")));
                EXPECT_EQ(wynik.katalog, QString());
                EXPECT_EQ(Ustawienia().katalogDanych(), poprzedni);
                EXPECT_EQ(JestKatalogiemDanych(p.katalog), p.rodzaj == RodzajWyboru::Istniejacy);
            } else {
                EXPECT_EQ(wynik.blad, QString());
                EXPECT_EQ(wynik.katalog, p.katalog);
                EXPECT_TRUE(JestKatalogiemDanych(p.katalog));
                EXPECT_EQ(Ustawienia().katalogDanych(), p.katalog);
            }
        }
    }
}

// An old data root of the previous generation: its firm table and a year's table in the old
// format, and a file of another kind.
void staryKatalog(const QString &k)
{
    ASSERT_TRUE(QDir().mkpath(k + QStringLiteral("/2024")));
    ZapiszTabeleParadox(
        k + QStringLiteral("/FIRMA.DB"),
        {{QStringLiteral("NAZWA"), 'A', 40}, {QStringLiteral("NIP"), 'A', 13}},
        {{QStringLiteral("Biuro Rachunkowe Żaneta"), QStringLiteral("1234567890")}});
    ZapiszTabeleParadox(k + QStringLiteral("/2024/KASA.DB"),
                        {{QStringLiteral("DATA"), 'D'}, {QStringLiteral("KWOTA"), '$'}},
                        {{QDate(2024, 2, 1), 12.5}});
    QFile inny(k + QStringLiteral("/OPIS.TXT"));
    ASSERT_TRUE(inny.open(QIODevice::WriteOnly));
    inny.write("opis");
}

// Every file under `katalog` with its bytes, to show that a folder was not changed.
QByteArray skrotDrzewa(const QString &katalog)
{
    QCryptographicHash skrot(QCryptographicHash::Sha256);
    QDirIterator it(katalog, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList pliki;
    while (it.hasNext())
        pliki << it.next();
    pliki.sort();
    for (const QString &plik : pliki) {
        skrot.addData(plik.toUtf8());
        QFile f(plik);
        if (f.open(QIODevice::ReadOnly))
            skrot.addData(f.readAll());
    }
    return skrot.result();
}

// An existing root of the previous generation is converted, with the user's consent, into the
// folder beside it, and that one is opened and remembered; declined or failed, nothing opens,
// nothing is remembered, and the old root stays as it was in every case.
TEST_F(WyborKataloguTest, AnOldDataRootIsConvertedBesideItAndTheNewOneOpened)
{
    const struct
    {
        const char *nazwa;
        bool zgoda;
        bool zajetyCel;         // a folder of something else where the new root would go
        bool juzPrzeksztalcony; // a conversion made at an earlier start
        const char *pytanie;
        const char *wBledzie; // "" when it opens
    } przypadki[] = {
        {"agreed", true, false, false, "Czy przekształcić dane teraz?", ""},
        {"declined", false, false, false, "Czy przekształcić dane teraz?", ""},
        {"target taken", true, true, false, "Czy przekształcić dane teraz?",
         "Przekształcenie danych nie powiodło się"},
        {"converted before", true, false, true, "zostały już przekształcone", ""},
        {"converted before, declined", false, false, true, "zostały już przekształcone", ""},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        QTemporaryDir miejsce;
        ASSERT_TRUE(miejsce.isValid());
        const QString stary = miejsce.filePath(QStringLiteral("STARY"));
        const QString nowy = stary + QStringLiteral("-RAWEN2");
        staryKatalog(stary);
        if (p.zajetyCel) {
            ASSERT_TRUE(QDir().mkpath(nowy + QStringLiteral("/cos")));
        }
        if (p.juzPrzeksztalcony) {
            ScriptedMessageBoxes okna;
            okna.answerNext(MessageBoxes::Answer::Yes);
            Ustawienia ustawienia;
            ASSERT_EQ(
                WykonajWybor({RodzajWyboru::Istniejacy, stary, {}}, kDzis, {}, ustawienia).katalog,
                nowy);
        }
        const QByteArray przedStarym = skrotDrzewa(stary);
        const QByteArray przedNowym = skrotDrzewa(nowy);
        const QString poprzedni = QStringLiteral("/srv/poprzedni");
        {
            Ustawienia u;
            ASSERT_TRUE(u.zapamietajKatalogDanych(poprzedni));
        }

        ScriptedMessageBoxes okna;
        okna.answerNext(p.zgoda ? MessageBoxes::Answer::Yes : MessageBoxes::Answer::No);
        Ustawienia ustawienia;
        const WynikWyboru wynik =
            WykonajWybor({RodzajWyboru::Istniejacy, stary, {}}, kDzis, {}, ustawienia);

        ASSERT_FALSE(okna.shown().isEmpty());
        EXPECT_TRUE(okna.shown().first().text.contains(QString::fromUtf8(p.pytanie)))
            << qPrintable(okna.shown().first().text);
        EXPECT_EQ(skrotDrzewa(stary), przedStarym);
        if (!p.zgoda || *p.wBledzie) {
            EXPECT_EQ(wynik.anulowany, !p.zgoda);
            EXPECT_TRUE(wynik.blad.contains(QString::fromUtf8(p.wBledzie)))
                << qPrintable(wynik.blad);
            EXPECT_EQ(wynik.blad.isEmpty(), !*p.wBledzie);
            EXPECT_EQ(wynik.katalog, QString());
            EXPECT_EQ(Ustawienia().katalogDanych(), poprzedni);
            EXPECT_EQ(skrotDrzewa(nowy), przedNowym);
            continue;
        }
        EXPECT_FALSE(wynik.anulowany);
        EXPECT_EQ(wynik.blad, QString());
        EXPECT_EQ(wynik.katalog, nowy);
        EXPECT_EQ(Ustawienia().katalogDanych(), nowy);
        EXPECT_TRUE(JestKatalogiemDanych(nowy));
        EXPECT_FALSE(JestTabelaParadox(nowy + QStringLiteral("/FIRMA.DB")));
        EXPECT_TRUE(QFileInfo(nowy + QStringLiteral("/2024/KASA.DB")).isFile());
        if (p.juzPrzeksztalcony)
            EXPECT_EQ(skrotDrzewa(nowy), przedNowym);
        else
            EXPECT_TRUE(okna.texts().last().contains(nowy)) << qPrintable(okna.texts().last());
    }
}

} // namespace
} // namespace rawen::test
