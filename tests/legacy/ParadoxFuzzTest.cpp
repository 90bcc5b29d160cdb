#include "legacy/KonwersjaTabeli.h"
#include "platform/EngineError.h"
#include "support/PisarzParadox.h"
#include "support/TableFixtures.h"

#include <QDate>
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

void zapisz(const QString &sciezka, const QByteArray &tresc)
{
    QFile plik(sciezka);
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(plik.write(tresc), tresc.size());
}

[[noreturn]] void zawieszona(int)
{
    std::fprintf(stderr, "a damaged old-format table hung the reader\n");
    std::_Exit(3);
}

enum class Wynik { Przeczytana, Odrzucona, Blad };

// A conversion of a damaged table either converts it (read back and compared) or refuses it
// with the reader's Polish message; anything else is a fault.
Wynik przeksztalc(const QString &zrodlo, const QString &cel, QString *opis)
{
    QFile::remove(cel);
    try {
        PrzeksztalcTabele(zrodlo, cel, QStringLiteral("T.DB"));
        return Wynik::Przeczytana;
    } catch (const BladParadox &blad) {
        if (!blad.komunikat().startsWith(QStringLiteral("T.DB: "))) {
            *opis = QStringLiteral("a message that names no table: ") + blad.komunikat();
            return Wynik::Blad;
        }
        if (QFile::exists(cel)) {
            *opis = QStringLiteral("a refused table left its new file");
            return Wynik::Blad;
        }
        return Wynik::Odrzucona;
    } catch (const EngineError &blad) {
        *opis = QStringLiteral("engine error: ") + blad.message();
    } catch (const std::exception &blad) {
        *opis = QStringLiteral("exception: ") + QString::fromUtf8(blad.what());
    }
    return Wynik::Blad;
}

// Damaged tables of the old format, made from a fixed seed out of a whole one with a memo file
// and index files: bytes flipped in the header, the field list, the blocks and the memo file,
// block pointers and record counts changed, files cut short or swapped for garbage. Each is
// converted or refused; none crashes, hangs or passes an engine error (RAWEN_FUZZ_CASES sets how
// many; CI runs the default).
TEST(ParadoxFuzz, DamagedOldTablesAreConvertedOrRefusedNeverCrashOrHang)
{
    QTemporaryDir katalog;
    const QString wzor = katalog.filePath(QStringLiteral("WZOR.DB"));
    const QList<PoleWzoru> pola{
        {QStringLiteral("NR"), 'I'},       {QStringLiteral("NAZWA"), 'A', 24},
        {QStringLiteral("DATA"), 'D'},     {QStringLiteral("KWOTA"), '$'},
        {QStringLiteral("UWAGI"), 'M', 8}, {QStringLiteral("BCD"), '#', 2},
        {QStringLiteral("CHWILA"), '@'},   {QStringLiteral("OBRAZ"), 'G', 10}};
    QList<RekordWzoru> rekordy;
    for (int i = 1; i <= 90; ++i)
        rekordy << RekordWzoru{i,
                               QStringLiteral("Rekord ąę %1").arg(i),
                               QDate(2024, 1, 1).addDays(i),
                               i * 2.5,
                               QStringLiteral("Notatka %1 ").arg(i).repeated(1 + i % 40),
                               QStringLiteral("%1.25").arg(i),
                               QVariant(),
                               QByteArray(i * 60, char(i))};
    OpcjeParadoxu opcje;
    opcje.kilobajtyBloku = 1;
    opcje.polaKlucza = 1;
    ZapiszTabeleParadox(wzor, pola, rekordy, opcje);
    ZapiszIndeksGlowny(wzor, pola, opcje);
    ZapiszIndeksWtorny(wzor, QStringLiteral("X02"), {pola[1]}, QString(), opcje);
    const QByteArray db = fileBytes(wzor);
    const QByteArray mb = fileBytes(katalog.filePath(QStringLiteral("WZOR.MB")));
    const QByteArray x02 = fileBytes(katalog.filePath(QStringLiteral("WZOR.X02")));
    ASSERT_GT(mb.size(), 8 * 4096);
    const int naglowek = 0x800;
    const int bloki = int((db.size() - naglowek) / 1024);
    ASSERT_GT(bloki, 5);

    int przypadki = qEnvironmentVariableIntValue("RAWEN_FUZZ_CASES");
    if (przypadki <= 0)
        przypadki = 600;
    QRandomGenerator los(20261211);
    const QString zrodlo = katalog.filePath(QStringLiteral("T.DB"));
    const QString cel = katalog.filePath(QStringLiteral("N.DB"));
    int przeczytane = 0, odrzucone = 0;
    QStringList bledy;
    std::signal(SIGALRM, zawieszona);
    for (int n = 0; n < przypadki; ++n) {
        QByteArray d = db, m = mb, x = x02;
        switch (n % 10) {
        case 0: // the fixed part of the header
            for (int k = 1 + los.bounded(4); k > 0; --k)
                d[los.bounded(0x78)] = char(los.bounded(256));
            break;
        case 1: // the field list and names
            for (int k = 1 + los.bounded(4); k > 0; --k)
                d[0x78 + los.bounded(naglowek - 0x78)] = char(los.bounded(256));
            break;
        case 2: { // a block's header: next, previous, last record
            const int b = los.bounded(bloki);
            d[naglowek + b * 1024 + los.bounded(6)] = char(los.bounded(256));
            break;
        }
        case 3: // bytes of the records
            for (int k = 1 + los.bounded(16); k > 0; --k)
                d[naglowek + los.bounded(int(d.size()) - naglowek)] ^= char(1 << los.bounded(8));
            break;
        case 4: // cut short
            d.truncate(los.bounded(int(d.size())));
            break;
        case 5: // the memo file's bytes, its block headers most of all
            for (int k = 1 + los.bounded(8); k > 0; --k) {
                const int blok = los.bounded(int(m.size() / 4096));
                m[blok * 4096 + (los.bounded(2) ? los.bounded(12 + 64 * 5) : los.bounded(4096))] =
                    char(los.bounded(256));
            }
            break;
        case 6: // the memo file cut short or gone
            m.truncate(los.bounded(3) ? los.bounded(int(m.size())) : 0);
            break;
        case 7: // the record count and the block counts
            d[0x06 + los.bounded(12)] = char(los.bounded(256));
            break;
        case 8: // an index file garbled
            for (int k = 1 + los.bounded(8); k > 0; --k)
                x[los.bounded(int(x.size()))] = char(los.bounded(256));
            if (los.bounded(2))
                d[los.bounded(int(d.size()))] = char(los.bounded(256));
            break;
        case 9: // garbage after the last block, or instead of the file
            if (los.bounded(2))
                d.append(QByteArray(los.bounded(4096), char(los.bounded(256))));
            else
                for (char &c : d)
                    c = char(los.bounded(256));
            break;
        }
        zapisz(zrodlo, d);
        QFile::remove(katalog.filePath(QStringLiteral("T.MB")));
        if (!m.isEmpty())
            zapisz(katalog.filePath(QStringLiteral("T.MB")), m);
        zapisz(katalog.filePath(QStringLiteral("T.PX")),
               fileBytes(katalog.filePath(QStringLiteral("WZOR.PX"))));
        zapisz(katalog.filePath(QStringLiteral("T.X02")), x);
        QString opis;
        ::alarm(30);
        const Wynik wynik = przeksztalc(zrodlo, cel, &opis);
        ::alarm(0);
        if (wynik == Wynik::Przeczytana)
            ++przeczytane;
        else if (wynik == Wynik::Odrzucona)
            ++odrzucone;
        else
            bledy << QStringLiteral("mutant %1: %2").arg(n).arg(opis);
    }
    // Things that are no table file at all in the table's place.
    QFile::remove(zrodlo);
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("T.DB")));
    QString opis;
    EXPECT_EQ(przeksztalc(zrodlo, cel, &opis), Wynik::Odrzucona) << qPrintable(opis);
    ASSERT_TRUE(QDir(katalog.path()).rmdir(QStringLiteral("T.DB")));
    ASSERT_TRUE(QFile::link(katalog.filePath(QStringLiteral("BRAK.DB")), zrodlo));
    EXPECT_EQ(przeksztalc(zrodlo, cel, &opis), Wynik::Odrzucona) << qPrintable(opis);
    std::signal(SIGALRM, SIG_DFL);

    std::printf("old-format table fuzz: mutants %d, converted %d, refused %d, failures %lld\n",
                przypadki, przeczytane, odrzucone, qsizetype(bledy.size()));
    EXPECT_TRUE(bledy.isEmpty()) << bledy.join(u'\n').toStdString();
    EXPECT_GT(odrzucone, przypadki / 10);
    EXPECT_GT(przeczytane, przypadki / 10);
}

} // namespace
} // namespace rawen::test
