#include "data/KontrolaTabel.h"

#include "data/Table.h"
#include "support/OtherProgram.h"
#include "support/QtPrinting.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("OPIS"), ftString, 60, false}};
const QList<IndexDef> kKlucz{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};

class KontrolaTabelTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(katalog.isValid()); }
    QString sciezka(const char *nazwa) const
    {
        return katalog.filePath(QString::fromLatin1(nazwa));
    }

    void tabela(const char *nazwa)
    {
        QList<QStringList> rekordy;
        for (int i = 1; i <= 3000; ++i)
            rekordy << QStringList{QString::number(i), QStringLiteral("rekord numer %1").arg(i)};
        makeTable(sciezka(nazwa), kPola, kKlucz, rekordy);
    }
    void plik(const char *nazwa, const QByteArray &tresc)
    {
        QFile f(sciezka(nazwa));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tresc);
    }

    QTemporaryDir katalog;
};

// A damaged page anywhere fails the check, though the table opens; a file that is no database,
// or an empty one, fails it too.
TEST_F(KontrolaTabelTest, EachDamageIsFoundOnTheThreadAsOnTheCallersOwn)
{
    tabela("ZDROWA.DB");
    tabela("STRONA.DB");
    damagePage(sciezka("STRONA.DB"));
    tabela("OBCIETA.DB");
    ASSERT_TRUE(QFile::resize(sciezka("OBCIETA.DB"), QFileInfo(sciezka("OBCIETA.DB")).size() / 2));
    plik("TEKST.DB", QByteArray("to jest zwykły tekst, nie tabela\n").repeated(200));
    plik("PUSTA.DB", QByteArray());
    {
        Table otwiera;
        otwiera.setTableName(sciezka("STRONA.DB"));
        ASSERT_NO_THROW(otwiera.open());
    }

    const QList<QPair<const char *, const char *>> przypadki{
        {"ZDROWA.DB", ""},
        {"STRONA.DB", "plik tabeli jest uszkodzony"},
        {"OBCIETA.DB", "plik tabeli jest uszkodzony"},
        {"TEKST.DB", "plik tabeli jest uszkodzony"},
        {"PUSTA.DB", "plik tabeli jest pusty"},
    };
    QStringList pliki;
    for (const auto &przypadek : przypadki)
        pliki << sciezka(przypadek.first);
    KontrolaTabel kontrola(pliki);
    // Asked in another order than checked.
    for (qsizetype i = przypadki.size() - 1; i >= 0; --i) {
        const auto &[nazwa, przyczyna] = przypadki[i];
        SCOPED_TRACE(nazwa);
        const WerdyktKontroli naWatku = kontrola.werdykt(sciezka(nazwa));
        const WerdyktKontroli tutaj = SprawdzPlikBazy(sciezka(nazwa), 100);
        EXPECT_EQ(naWatku.zdrowa, *przyczyna == 0);
        const QString oczekiwana = QString::fromUtf8(przyczyna);
        EXPECT_EQ(naWatku.przyczyna.left(oczekiwana.size()), oczekiwana);
        EXPECT_EQ(tutaj.zdrowa, naWatku.zdrowa);
        EXPECT_EQ(tutaj.przyczyna, naWatku.przyczyna);
    }
}

// A table a crash left with its journal cannot be read without a write, which the check never
// makes: once the caller's own opening has played the journal back, the caller checks it.
TEST_F(KontrolaTabelTest, ATableWithAJournalToPlayBackIsCheckedOnceTheCallerOpenedIt)
{
    tabela("ZRODLO.DB");
    tabela("DRUGA.DB");
    {
        OtherProgram piszacy(sciezka("ZRODLO.DB"));
        ASSERT_EQ(piszacy.exec(QStringLiteral("PRAGMA cache_size = 5; BEGIN; "
                                              "UPDATE records SET OPIS = 'zmieniony opis'")),
                  SQLITE_OK);
        for (const char *nazwa : {"ZRODLO.DB", "ZRODLO.DB-journal"})
            ASSERT_TRUE(
                QFile::copy(sciezka(nazwa), sciezka(nazwa).replace(QStringLiteral("ZRODLO"),
                                                                   QStringLiteral("GORACA"))));
        piszacy.exec(QStringLiteral("ROLLBACK"));
    }
    ASSERT_TRUE(QFile::exists(sciezka("GORACA.DB-journal")));
    KontrolaTabel kontrola({sciezka("GORACA.DB"), sciezka("DRUGA.DB")});
    // The thread takes the files in order: it is past the first one.
    EXPECT_TRUE(kontrola.werdykt(sciezka("DRUGA.DB")).zdrowa);
    {
        Table otwiera;
        otwiera.setTableName(sciezka("GORACA.DB"));
        ASSERT_NO_THROW(otwiera.open());
    }
    const WerdyktKontroli werdykt = kontrola.werdykt(sciezka("GORACA.DB"));
    EXPECT_TRUE(werdykt.zdrowa) << qPrintable(werdykt.przyczyna);
}

TEST_F(KontrolaTabelTest, ATableAnotherProgramHoldsBeyondTheWaitIsNamedSo)
{
    tabela("ZAJETA.DB");
    OtherProgram piszacy(sciezka("ZAJETA.DB"));
    ASSERT_EQ(piszacy.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    KontrolaTabel kontrola({sciezka("ZAJETA.DB")}, 50);
    const WerdyktKontroli werdykt = kontrola.werdykt(sciezka("ZAJETA.DB"));
    EXPECT_FALSE(werdykt.zdrowa);
    EXPECT_EQ(werdykt.przyczyna, QStringLiteral("tabela jest zablokowana przez inny program"));
    piszacy.exec(QStringLiteral("COMMIT"));
}

} // namespace
} // namespace rawen::test
