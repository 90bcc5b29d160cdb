// rawen-bench import: the conversion of an old data root (rawen --importuj, with its read-back
// check) against a bare SQLite load of the same records already decoded in memory.

#include "BenchSupport.h"
#include "Cases.h"
#include "legacy/ImportKatalogu.h"
#include "legacy/KonwersjaTabeli.h"
#include "legacy/TabelaParadox.h"
#include "store/FieldValues.h"
#include "support/PisarzParadox.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace rawen::bench {

namespace {

using test::PoleWzoru;
using test::RekordWzoru;

// Records like those of a year's documents: a number, texts, a date, amounts, a flag, and a
// memo on every twentieth record, longer than its leader.
const QList<PoleWzoru> &polaDokumentu()
{
    static const QList<PoleWzoru> pola{
        {QStringLiteral("NR"), 'I'},        {QStringLiteral("NRDOK"), 'A', 20},
        {QStringLiteral("DATA"), 'D'},      {QStringLiteral("NAZWA"), 'A', 60},
        {QStringLiteral("BRUTTO"), '$'},    {QStringLiteral("NETTO"), '$'},
        {QStringLiteral("KURS"), 'N'},      {QStringLiteral("OPIS"), 'A', 40},
        {QStringLiteral("ZAPLACONA"), 'L'}, {QStringLiteral("UWAGI"), 'M', 10}};
    return pola;
}

void utworzStaryKatalog(const QString &katalog, int tabele, long rekordy)
{
    QDir().mkpath(katalog + QStringLiteral("/2025/FIN"));
    for (int t = 0; t < tabele; ++t) {
        QList<RekordWzoru> r;
        r.reserve(rekordy);
        for (long i = 1; i <= rekordy; ++i)
            r << RekordWzoru{
                qint64(i),
                QStringLiteral("FV/%1/2025").arg(i),
                QDate(2025, 1, 1).addDays(i % 365),
                QStringLiteral("Kontrahent %1 spółka z o.o., Łódź").arg(i % 5000),
                i * 1.23,
                i * 1.0,
                4.3 + (i % 100) / 1000.0,
                QStringLiteral("Zapłata za towar %1").arg(i % 77),
                i % 3 == 0,
                i % 20 == 0 ? QVariant(QStringLiteral("Uwagi do dokumentu %1. ").arg(i).repeated(8))
                            : QVariant()};
        test::OpcjeParadoxu opcje;
        opcje.kilobajtyBloku = 4;
        opcje.polaKlucza = 1;
        const QString sciezka = katalog + QStringLiteral("/2025/FIN/DOK%1.DB").arg(t);
        test::ZapiszTabeleParadox(sciezka, polaDokumentu(), r, opcje);
        test::ZapiszIndeksGlowny(sciezka, polaDokumentu(), opcje);
        test::ZapiszIndeksWtorny(sciezka, QStringLiteral("X04"), {polaDokumentu()[3]}, QString(),
                                 opcje);
        test::ZapiszIndeksWtorny(sciezka, QStringLiteral("XG0"),
                                 {polaDokumentu()[2], polaDokumentu()[1]}, QStringLiteral("DataNr"),
                                 opcje);
    }
}

// One table's records decoded as the conversion stores them, for the baseline.
struct Zdekodowana
{
    QString nazwa;
    TableFile::Definitions definicje;
    std::vector<QVariant> wartosci; // record after record
};

Zdekodowana zdekoduj(const QString &sciezka)
{
    TabelaParadox tabela(sciezka, QFileInfo(sciezka).fileName());
    Zdekodowana z;
    z.nazwa = QFileInfo(sciezka).fileName();
    z.definicje = DefinicjeZParadoxu(tabela, nullptr);
    const int pol = int(tabela.pola().size());
    WartoscParadox w;
    tabela.przejdz([&](const char *rekord) {
        for (int i = 0; i < pol; ++i) {
            tabela.wartosc(rekord, i, w);
            switch (w.rodzaj) {
            case WartoscParadox::Pusta:
                z.wartosci.emplace_back();
                break;
            case WartoscParadox::Calkowita:
                z.wartosci.emplace_back(w.calkowita);
                break;
            case WartoscParadox::Rzeczywista:
                z.wartosci.emplace_back(w.rzeczywista);
                break;
            case WartoscParadox::Tekst:
                z.wartosci.emplace_back(w.tekst);
                break;
            case WartoscParadox::Bajty:
                z.wartosci.emplace_back(w.bajty);
                break;
            case WartoscParadox::Data:
                z.wartosci.emplace_back(FieldValues::textOf(w.data));
                break;
            default:
                z.wartosci.emplace_back(w.tekst);
                break;
            }
        }
    });
    return z;
}

// The baseline: one database, one prepared insert per record, one transaction, the same indexes,
// synced.
void zaladuj(const Zdekodowana &z, const QString &sciezka)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(sciezka).constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    QStringList kolumny, znaki;
    for (const FieldDef &f : z.definicje.fields) {
        kolumny << QStringLiteral("\"%1\" %2").arg(f.name, TableFile::columnType(f.dataType));
        znaki << QStringLiteral("?");
    }
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(
        db, QStringLiteral("CREATE TABLE records(%1)").arg(kolumny.join(u',')).toUtf8().constData(),
        nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    const QByteArray sql =
        QStringLiteral("INSERT INTO records VALUES(%1)").arg(znaki.join(u',')).toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr);
    const size_t pol = size_t(z.definicje.fields.size());
    for (size_t r = 0; r < z.wartosci.size(); r += pol) {
        for (size_t i = 0; i < pol; ++i) {
            const QVariant &v = z.wartosci[r + i];
            const int n = int(i) + 1;
            switch (v.typeId()) {
            case QMetaType::LongLong:
                sqlite3_bind_int64(insert, n, v.toLongLong());
                break;
            case QMetaType::Double:
                sqlite3_bind_double(insert, n, v.toDouble());
                break;
            case QMetaType::QString: {
                const QString &t = *static_cast<const QString *>(v.constData());
                sqlite3_bind_text16(insert, n, t.utf16(), int(t.size() * 2), SQLITE_STATIC);
                break;
            }
            case QMetaType::QByteArray: {
                const QByteArray &b = *static_cast<const QByteArray *>(v.constData());
                sqlite3_bind_blob(insert, n, b.constData(), int(b.size()), SQLITE_STATIC);
                break;
            }
            default:
                sqlite3_bind_null(insert, n);
                break;
            }
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    for (int i = 0; i < z.definicje.indexes.size(); ++i)
        sqlite3_exec(
            db,
            TableFile::indexSql(z.definicje.indexes[i], i, z.definicje.fields).toUtf8().constData(),
            nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    syncFile(sciezka);
}

// Reading and decoding alone, as the conversion reads (texts in UTF-8, nothing kept).
void przeczytaj(const QString &sciezka)
{
    TabelaParadox tabela(sciezka, QFileInfo(sciezka).fileName());
    const int pol = int(tabela.pola().size());
    WartoscParadox w;
    tabela.przejdz([&](const char *rekord) {
        for (int i = 0; i < pol; ++i)
            tabela.wartoscUtf8(rekord, i, w);
    });
}

QStringList tabeleStarego(const QString &katalog)
{
    QStringList tabele;
    QDirIterator it(katalog, {QStringLiteral("*.DB")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        tabele << it.next();
    tabele.sort();
    return tabele;
}

} // namespace

int import(const QStringList &arguments)
{
    const long rekordy = arguments.isEmpty() ? 150000 : arguments.first().toLong();
    const int tabele = arguments.size() > 1 ? arguments.at(1).toInt() : 8;
    if (rekordy <= 0 || tabele <= 0) {
        std::fprintf(stderr, "import: ROWS and TABLES must be positive numbers\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "import: cannot make a directory in %s\n",
                     qPrintable(benchDirectory()));
        return 2;
    }
    const QString stary = dir.filePath(QStringLiteral("STARY"));
    Stopwatch budowa;
    utworzStaryKatalog(stary, tabele, rekordy);
    QProcess::execute(QStringLiteral("sync"), {});
    std::printf("old root: %.1f MB in %d tables of %ld records, built in %.1f s\n",
                double(sizeOf(stary)) / 1e6, tabele, rekordy, budowa.seconds());

    constexpr int kRuns = 3;
    std::vector<double> baseline, ours, reading, readBack;
    for (int run = 0; run < kRuns; ++run) {
        // The baseline: each table decoded into memory first (not timed), then loaded.
        const QString czysty = dir.filePath(QStringLiteral("SQLITE%1").arg(run));
        QDir().mkpath(czysty);
        double zaladowanie = 0, odczyt = 0;
        for (const QString &tabela : tabeleStarego(stary)) {
            Stopwatch o;
            przeczytaj(tabela);
            odczyt += o.seconds();
            const Zdekodowana z = zdekoduj(tabela);
            Stopwatch s;
            zaladuj(z, QDir(czysty).filePath(z.nazwa));
            zaladowanie += s.seconds();
        }
        baseline.push_back(zaladowanie);
        reading.push_back(odczyt);
        QDir(czysty).removeRecursively();
        QProcess::execute(QStringLiteral("sync"), {});

        const QString nowy = dir.filePath(QStringLiteral("NOWY%1").arg(run));
        Stopwatch n;
        const WynikImportu wynik = ImportujKatalogDanych(stary, nowy, {}, {});
        ours.push_back(n.seconds());
        if (!wynik.udany) {
            std::fprintf(stderr, "import: the conversion failed: %s\n",
                         qPrintable(wynik.bledy.join(u'\n')));
            return 1;
        }
        Stopwatch r;
        for (const QString &tabela : tabeleStarego(nowy))
            (void)SumyTabeli(tabela, nullptr);
        readBack.push_back(r.seconds());
        if (run == 0)
            std::printf("new root: %.1f MB, %s\n", double(sizeOf(nowy)) / 1e6,
                        qPrintable(wynik.podsumowanie));
        QDir(nowy).removeRecursively();
        QProcess::execute(QStringLiteral("sync"), {});
    }
    auto opis = [](const char *co, const std::vector<double> &v) {
        std::printf("%-44s median %.3f s (min %.3f, max %.3f)\n", co, median(v),
                    *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
    };
    opis("bare SQLite load of the decoded records:", baseline);
    opis("rawen --importuj with its read-back check:", ours);
    opis("  of which reading and decoding (apart):", reading);
    opis("  of which the read-back (apart):", readBack);
    std::printf("ratio=%.3f\n", median(ours) / median(baseline));
    return 0;
}

} // namespace rawen::bench
