#include "company/UzupelnienieAdresu.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"

#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace rawen::test {
namespace {

using Pola = QMap<QString, QString>;

// Leaving the control of `pole`, having typed `tekst` into it first (nothing when absent).
struct Krok
{
    QString pole;
    std::optional<QString> tekst;
};

struct Przypadek
{
    const char *opis;
    Pola rekord; // the record as it was stored before
    QList<Krok> kroki;
    Pola oczekiwane;
};

Pola adres(const QString &przedrostek, const QStringList &wartosci)
{
    Pola pola;
    for (qsizetype i = 0; i < wartosci.size(); ++i)
        pola.insert(przedrostek + PolaAdresuSiedziby()[i], wartosci[i]);
    return pola;
}

const QStringList kSiedziba{QStringLiteral("ul. Długa"),   QStringLiteral("12a"),
                            QStringLiteral("3"),           QStringLiteral("00-950"),
                            QStringLiteral("Warszawa"),    QStringLiteral("Polska"),
                            QStringLiteral("MAZOWIECKIE"), QStringLiteral("Warszawa"),
                            QStringLiteral("Warszawa"),    QStringLiteral("Warszawa")};
// A district and commune other than the post office, typed over what leaving it filled in.
const QStringList kSiedzibaWsi{
    QStringLiteral("Leśna"),       QStringLiteral("5"),         QString(),
    QStringLiteral("34-100"),      QStringLiteral("Wadowice"),  QStringLiteral("Polska"),
    QStringLiteral("MAŁOPOLSKIE"), QStringLiteral("wadowicki"), QStringLiteral("Tomice"),
    QStringLiteral("Radocza")};

// Typing a seat address control by control; district, commune and locality are typed only where
// leaving the post office did not fill them already with a text the user keeps.
QList<Krok> wpisanie(const QStringList &wartosci)
{
    QList<Krok> kroki;
    const QString poczta = wartosci[4];
    for (qsizetype i = 0; i < wartosci.size(); ++i) {
        const bool wypelnione = i > 4 && PolaWypelnianePoczta().contains(PolaAdresuSiedziby()[i]);
        if (wypelnione && wartosci[i] == poczta)
            kroki << Krok{PolaAdresuSiedziby()[i], std::nullopt};
        else
            kroki << Krok{PolaAdresuSiedziby()[i], wartosci[i]};
    }
    return kroki;
}

QList<Przypadek> przypadki()
{
    Pola wszystkie = adres(QString(), kSiedziba);
    wszystkie.insert(adres(QStringLiteral("Z"), kSiedziba));
    Pola zPoczta{{"POCZTA", "Kraków"}, {"ZPOCZTA", "Kraków"},     {"POWIAT", "Kraków"},
                 {"GMINA", "Kraków"},  {"MIEJSCOWOSC", "Kraków"}, {"ZPOWIAT", "Kraków"},
                 {"ZGMINA", "Kraków"}, {"ZMIEJSCOWOSC", "Kraków"}};
    // The residence fields the post office filled keep its name when another district is typed
    // at the seat afterwards: they were no longer empty.
    Pola wies = adres(QString(), kSiedzibaWsi);
    wies.insert(adres(QStringLiteral("Z"), kSiedzibaWsi));
    for (const char *pole : {"ZPOWIAT", "ZGMINA", "ZMIEJSCOWOSC"})
        wies.insert(QLatin1String(pole), QStringLiteral("Wadowice"));
    return {
        {"a whole seat address, left control by control, is the residence address too",
         {},
         wpisanie(kSiedziba),
         wszystkie},
        {"district, commune and locality typed after the post office stay at the seat only",
         {},
         wpisanie(kSiedzibaWsi),
         wies},
        {"a residence field that holds text keeps it",
         {{"ZULICA", "ul. Krótka"}, {"ZKOD", "31-000"}},
         wpisanie(kSiedziba),
         {{"ZULICA", "ul. Krótka"}, {"ZKOD", "31-000"}, {"ZNUMER", "12a"}}},
        {"a seat field changed later leaves the residence field filled before",
         {},
         {{"ULICA", QStringLiteral("ul. Długa")}, {"ULICA", QStringLiteral("ul. Szeroka")}},
         {{"ULICA", "ul. Szeroka"}, {"ZULICA", "ul. Długa"}}},
        {"the post office fills district, commune and locality, here and at home",
         {},
         {{"POCZTA", QStringLiteral("Kraków")}},
         zPoczta},
        {"a district typed earlier stays when the post office is left",
         {{"POWIAT", "krakowski"}},
         {{"POCZTA", QStringLiteral("Kraków")}},
         {{"POWIAT", "krakowski"}, {"ZPOWIAT", "Kraków"}, {"GMINA", "Kraków"}}},
        {"the post office's own residence field is filled before the list, and not twice",
         {{"ZPOCZTA", "Wieliczka"}},
         {{"POCZTA", QStringLiteral("Kraków")}},
         {{"ZPOCZTA", "Wieliczka"}, {"ZGMINA", "Kraków"}, {"ZMIEJSCOWOSC", "Kraków"}}},
        {"leaving an empty field changes nothing",
         {{"ZULICA", ""}},
         {{"ULICA", std::nullopt}, {"POCZTA", std::nullopt}},
         {{"ZULICA", ""}, {"ZPOWIAT", ""}, {"POWIAT", ""}}},
        {"the fill runs on every leave, also without a change",
         {{"ULICA", "ul. Długa"}},
         {{"ULICA", std::nullopt}},
         {{"ZULICA", "ul. Długa"}}},
        {"texts go as they are: spaces and case kept",
         {},
         {{"GMINA", QStringLiteral("  gmina WIEJSKA ")}},
         {{"ZGMINA", "  gmina WIEJSKA "}}},
        {"a field holding a space is not empty",
         {{"ZKRAJ", " "}},
         {{"KRAJ", QStringLiteral("Polska")}},
         {{"ZKRAJ", " "}}},
    };
}

class UzupelnienieAdresuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        tabela.setTableName(katalog.filePath(QStringLiteral("FIRMA")));
        AktualizujTabeleFirmy(tabela);
        ASSERT_TRUE(tabela.isOpen());
    }

    QTemporaryDir katalog;
    Table tabela;
};

TEST_F(UzupelnienieAdresuTest, LeavingASeatAddressControlFillsTheEmptyResidenceFields)
{
    for (const Przypadek &p : przypadki()) {
        SCOPED_TRACE(p.opis);
        tabela.close();
        tabela.deleteTable();
        AktualizujTabeleFirmy(tabela);
        tabela.edit();
        for (auto it = p.rekord.begin(); it != p.rekord.end(); ++it)
            tabela.fieldByName(it.key()).setAsString(it.value());
        tabela.post();

        for (const Krok &krok : p.kroki) {
            if (krok.tekst) {
                tabela.edit();
                tabela.fieldByName(krok.pole).setAsString(*krok.tekst);
            }
            UzupelnijAdres(tabela, krok.pole);
            EXPECT_EQ(tabela.state(), Table::dsEdit);
        }
        for (auto it = p.oczekiwane.begin(); it != p.oczekiwane.end(); ++it)
            EXPECT_EQ(tabela.fieldByName(it.key()).asString(), it.value()) << qPrintable(it.key());
        tabela.cancel();
    }
}

// A new firm's table has no record: leaving a seat-address control gives it its first one, not
// posted until the form closes.
TEST_F(UzupelnienieAdresuTest, AnEmptyTableGetsItsFirstRecord)
{
    ASSERT_TRUE(tabela.isEmpty());
    UzupelnijAdres(tabela, QStringLiteral("ULICA"));
    EXPECT_EQ(tabela.state(), Table::dsInsert);
    EXPECT_EQ(tabela.recordCount(), 0);
    tabela.post();
    EXPECT_EQ(tabela.recordCount(), 1);
}

TEST_F(UzupelnienieAdresuTest, TheFieldListsAreThoseOfTheForm)
{
    EXPECT_EQ(PolaAdresuSiedziby(), (QStringList{"ULICA", "NUMER", "LOKAL", "KOD", "POCZTA", "KRAJ",
                                                 "WOJEWODZTWO", "POWIAT", "GMINA", "MIEJSCOWOSC"}));
    EXPECT_EQ(PolaWypelnianePoczta(),
              (QStringList{"POWIAT", "GMINA", "MIEJSCOWOSC", "ZPOWIAT", "ZGMINA", "ZMIEJSCOWOSC"}));
    for (const QString &pole : PolaAdresuSiedziby())
        EXPECT_GE(tabela.fieldIndex(QStringLiteral("Z") + pole), 0) << qPrintable(pole);
}

} // namespace
} // namespace rawen::test
