#include "install/WyborKatalogu.h"

#include "install/KatalogDanych.h"
#include "platform/Ustawienia.h"
#include "support/FixedAppContext.h"
#include "support/TableFixtures.h"

#include <QDir>
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
    void TearDown() override { Ustawienia::redirectTo(QString()); }

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

} // namespace
} // namespace rawen::test
