#include "data/Table.h"
#include "platform/EngineError.h"
#include "support/OtherProgram.h"
#include "support/QtPrinting.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace rawen::test {
namespace {

constexpr int kPage = 4096;

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, true},
                            {QStringLiteral("NAZWA"), ftString, 40, false},
                            {QStringLiteral("KWOTA"), ftCurrency, 0, false},
                            {QStringLiteral("DATA"), ftDate, 0, false},
                            {QStringLiteral("AKTYWNY"), ftBoolean, 0, false},
                            {QStringLiteral("UWAGI"), ftMemo, 0, false}};
const QList<IndexDef> kIndeksy{
    {QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
    {QStringLiteral("Nazwa"), QStringLiteral("NAZWA;NR"), ixCaseInsensitive},
    {QStringLiteral("Data"), QStringLiteral("DATA"), {}}};

void zapisz(const QString &sciezka, const QByteArray &tresc)
{
    QFile plik(sciezka);
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(plik.write(tresc), tresc.size());
}

// Opens the table and reads everything a program could: every field of every record in every
// order. A refusal with the engine's error is a clean answer; anything else is a fault.
enum class Wynik { Przeczytana, Odrzucona, Blad };

Wynik przeczytaj(const QString &sciezka, QString *opis)
{
    Table tabela;
    tabela.setTableName(sciezka);
    try {
        tabela.open();
        (void)tabela.recordCount();
        QStringList porzadki{QString()};
        for (const IndexDef &ix : tabela.indexDefs()) {
            if (!ix.name.isEmpty())
                porzadki << ix.name;
        }
        for (const QString &porzadek : porzadki) {
            tabela.setIndexName(porzadek);
            for (tabela.first(); !tabela.eof(); tabela.next()) {
                for (int i = 0; i < tabela.fieldCount(); ++i)
                    (void)tabela.field(i).displayText();
            }
        }
        return Wynik::Przeczytana;
    } catch (const EngineError &) {
        return Wynik::Odrzucona;
    } catch (const std::exception &e) {
        *opis = QString::fromUtf8(e.what());
        return Wynik::Blad;
    }
}

[[noreturn]] void zawieszona(int)
{
    static const char tekst[] = "a damaged table hung the engine\n";
    (void)!::write(2, tekst, sizeof tekst - 1);
    ::_exit(3);
}

// Damaged table files, made from a fixed seed: each one is refused with the engine's own error
// or opens and reads through; nothing crashes or hangs (RAWEN_FUZZ_CASES sets how many; CI runs
// a few thousand).
TEST(TableFuzz, EveryDamagedFileIsRefusedOrReadsThrough)
{
    QTemporaryDir katalog;
    ASSERT_TRUE(katalog.isValid());
    QList<QStringList> rekordy;
    for (int i = 1; i <= 400; ++i)
        rekordy << QStringList{QString::number(i),
                               QStringLiteral("Kontrahent %1 Łódź").arg(i),
                               QString::number(i * 3.25),
                               QStringLiteral("2024-05-17"),
                               i % 2 ? QStringLiteral("True") : QStringLiteral("False"),
                               QString(i % 7 * 300, u'u')};
    const QString wzor = katalog.filePath(QStringLiteral("WZOR.DB"));
    makeTable(wzor, kPola, kIndeksy, rekordy);
    const QByteArray tabela = fileBytes(wzor);
    ASSERT_GT(tabela.size(), 20 * kPage);
    // Some other program's database, and the same with our mark on it.
    const QString obca = katalog.filePath(QStringLiteral("OBCA.DB"));
    {
        OtherProgram inny(obca);
        Q_UNUSED(inny);
    }
    {
        QFile(obca).open(QIODevice::WriteOnly);
        OtherProgram inny(obca);
        inny.exec(QStringLiteral("CREATE TABLE records(NR TEXT); CREATE TABLE "
                                 "rawen_description(fields, indexes); INSERT INTO "
                                 "rawen_description VALUES('NR\t99\t-1\t0', 'x'); INSERT INTO "
                                 "records VALUES('a')"));
    }
    QByteArray obcaZNaszymZnakiem = fileBytes(obca);
    const QByteArray znak = tabela.mid(68, 4);
    obcaZNaszymZnakiem.replace(68, 4, znak);

    int przypadki = qEnvironmentVariableIntValue("RAWEN_FUZZ_CASES");
    if (przypadki <= 0)
        przypadki = 3000;
    QRandomGenerator los(20261210);
    const int strony = int(tabela.size() / kPage);
    const QString sciezka = katalog.filePath(QStringLiteral("T.DB"));
    int przeczytane = 0, odrzucone = 0;
    QStringList bledy;
    std::signal(SIGALRM, zawieszona);

    // Where the table describes itself: its parts are texts a damaged file can garble while
    // SQLite still reads the page.
    const qsizetype poczatekOpisu = tabela.indexOf("NR\t3\t0\t1");
    ASSERT_GT(poczatekOpisu, 0);
    const QByteArray znakiOpisu("\t\n0123456789-x ;");

    for (int n = 0; n < przypadki; ++n) {
        QByteArray mutant = tabela;
        switch (n % 11) {
        case 0: // bytes of the header
            for (int k = 1 + los.bounded(6); k > 0; --k)
                mutant[los.bounded(100)] = char(los.bounded(256));
            break;
        case 1: // bytes anywhere
            for (int k = 1 + los.bounded(16); k > 0; --k)
                mutant[los.bounded(int(mutant.size()))] ^= char(1 << los.bounded(8));
            break;
        case 2: // cut short
            mutant.truncate(los.bounded(int(mutant.size())));
            break;
        case 3: // a page of zeros
            mutant.replace(los.bounded(strony) * kPage, kPage, QByteArray(kPage, '\0'));
            break;
        case 4: { // two pages swapped
            const int a = los.bounded(strony), b = los.bounded(strony);
            const QByteArray pa = tabela.mid(a * kPage, kPage);
            mutant.replace(a * kPage, kPage, tabela.mid(b * kPage, kPage));
            mutant.replace(b * kPage, kPage, pa);
            break;
        }
        case 5: { // a wrong page size
            const quint16 rozmiar =
                quint16(los.bounded(2) ? 1 << los.bounded(17) : los.bounded(65536));
            mutant[16] = char(rozmiar >> 8);
            mutant[17] = char(rozmiar & 0xff);
            break;
        }
        case 6: // a page copied over another
            mutant.replace(los.bounded(strony) * kPage, kPage,
                           tabela.mid(los.bounded(strony) * kPage, kPage));
            break;
        case 7: // random bytes in a page
        {
            const int strona = los.bounded(strony);
            for (int k = 0; k < 64; ++k)
                mutant[strona * kPage + los.bounded(kPage)] = char(los.bounded(256));
        } break;
        case 8: // some other program's database, with or without our mark
            mutant = los.bounded(2) ? obcaZNaszymZnakiem : fileBytes(obca);
            if (los.bounded(2))
                mutant[los.bounded(int(mutant.size()))] ^= char(1 << los.bounded(8));
            break;
        case 10: // the description garbled: a tab, a line end, a digit or a letter elsewhere
            for (int k = 1 + los.bounded(3); k > 0; --k)
                mutant[poczatekOpisu + los.bounded(160)] =
                    znakiOpisu[los.bounded(int(znakiOpisu.size()))];
            break;
        case 9: // garbage after the last page, or instead of the file
            if (los.bounded(2))
                mutant.append(QByteArray(los.bounded(3 * kPage), char(los.bounded(256))));
            else
                for (char &c : mutant)
                    c = char(los.bounded(256));
            break;
        }
        QFile::remove(sciezka + QStringLiteral("-journal"));
        zapisz(sciezka, mutant);
        QString opis;
        ::alarm(30);
        const Wynik wynik = przeczytaj(sciezka, &opis);
        ::alarm(0);
        if (wynik == Wynik::Przeczytana)
            ++przeczytane;
        else if (wynik == Wynik::Odrzucona)
            ++odrzucone;
        else
            bledy << QStringLiteral("mutant %1: %2").arg(n).arg(opis);
    }

    // Things that are no table file at all in the table's place.
    QFile::remove(sciezka);
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("T.DB")));
    QString opis;
    EXPECT_EQ(przeczytaj(sciezka, &opis), Wynik::Odrzucona);
    ASSERT_TRUE(QDir(katalog.path()).rmdir(QStringLiteral("T.DB")));
    ASSERT_TRUE(QFile::link(katalog.filePath(QStringLiteral("BRAK.DB")), sciezka));
    EXPECT_EQ(przeczytaj(sciezka, &opis), Wynik::Odrzucona);
    std::signal(SIGALRM, SIG_DFL);

    std::printf("table fuzz: mutants %d, read through %d, refused %d, failures %lld\n", przypadki,
                przeczytane, odrzucone, qsizetype(bledy.size()));
    EXPECT_TRUE(bledy.isEmpty()) << bledy.join(u'\n').toStdString();
    // The mutants must reach both answers, or they test little.
    EXPECT_GT(odrzucone, przypadki / 10);
    EXPECT_GT(przeczytane, przypadki / 10);
}

} // namespace
} // namespace rawen::test
