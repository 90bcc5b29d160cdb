#include "BenchSupport.h"
#include "Cases.h"
#include "data/Table.h"
#include "data/WartosciProgramu.h"
#include "platform/FileDialogs.h"
#include "platform/OknoPostepu.h"
#include "print/DrukarkaWindows.h"
#include "print/OknoWydruku.h"
#include "print/PracaBezOkien.h"
#include "print/SiatkaTabeli.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace rawen::bench {

namespace {

class OneFile final : public FileDialogs
{
public:
    QString file;
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return file;
    }
};

const char *const kColumns = "NR,KOD,NAZWA,ILOSC,CENA,WARTOSC,DATA";

// `rows` records of 7 fields: whole numbers, texts with Polish letters, amounts and a date. The
// records go in through SQLite itself, which is not what is measured.
void makePrintTable(const QString &path, long rows)
{
    {
        Table table;
        table.setTableName(path);
        table.fieldDefs() = {{QStringLiteral("NR"), ftInteger, 0, true},
                             {QStringLiteral("KOD"), ftString, 10, false},
                             {QStringLiteral("NAZWA"), ftString, 40, false},
                             {QStringLiteral("ILOSC"), ftInteger, 0, false},
                             {QStringLiteral("CENA"), ftCurrency, 0, false},
                             {QStringLiteral("WARTOSC"), ftCurrency, 0, false},
                             {QStringLiteral("DATA"), ftDate, 0, false}};
        table.indexDefs() = {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};
        table.createTable();
    }
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO records(NR,KOD,NAZWA,ILOSC,CENA,WARTOSC,DATA) "
                       "VALUES(?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    for (long i = 1; i <= rows; ++i) {
        const QByteArray kod =
            QStringLiteral("K%1").arg(i % 9973, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray nazwa =
            QStringLiteral("Usługi księgowe dla firmy nr %1").arg((i * 7919) % rows).toUtf8();
        const QByteArray data = QStringLiteral("2025-%1-%2")
                                    .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                                    .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                                    .toUtf8();
        sqlite3_bind_int64(insert, 1, i);
        sqlite3_bind_text(insert, 2, kod.constData(), int(kod.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, nazwa.constData(), int(nazwa.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 4, i % 1000);
        sqlite3_bind_double(insert, 5, double(i % 10000) / 100.0 - 20.0);
        sqlite3_bind_double(insert, 6, double(i % 1000) * double(i % 10000) / 100.0);
        sqlite3_bind_text(insert, 7, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The parts of the print, each measured on its own: the walk of the cursor over every record; the
// walk reading each field's display text; the whole job into a document buffer that keeps
// nothing (cells, totals, lines, but no bytes).
double walkOnly(const QString &table, bool texts)
{
    Table data;
    data.setTableName(table);
    data.open();
    Stopwatch watch;
    qsizetype characters = 0;
    for (data.first(); !data.eof(); data.next()) {
        if (texts) {
            for (int i = 0; i < data.fieldCount(); ++i)
                characters += data.field(i).displayText().size();
        }
    }
    const double seconds = watch.seconds();
    return characters >= 0 ? seconds : -1;
}

double printToNothing(const QString &table)
{
    Table data;
    data.setTableName(table);
    data.open();
    UstawieniaDruku settings;
    settings.DRLINIDOS = 70;
    settings.DRTYP = 3;
    WartosciProgramu values;
    BezOkna window;
    BezPostepu progress;
    BezDrukarki printer;
    Wydruk print(settings, values, window, progress, printer);
    SiatkaTabeli grid(data);
    Stopwatch watch;
    print.DrukujOdRazu = false;
    print.DrukujTabeleX(grid, QStringLiteral("Wydruk tabeli"), QStringLiteral("CENA;WARTOSC"), 0);
    return watch.seconds();
}

// DrukujTabeleX of every field, the amounts summed, unbuffered to the text file without cutting,
// with the settings of a first run. False when the print failed.
bool printOnce(const QString &table, const QString &output)
{
    Table data;
    data.setTableName(table);
    data.open();
    UstawieniaDruku settings;
    settings.DRLINIDOS = 70;
    settings.DRTYP = 3;
    settings.DRBUFOR = true;
    WartosciProgramu values;
    values.tytul = QStringLiteral("RAWEN 2.0");
    BezOkna window;
    BezPostepu progress;
    BezDrukarki printer;
    OneFile dialog;
    dialog.file = output;
    FileDialogs *previous = FileDialogs::install(&dialog);
    Wydruk print(settings, values, window, progress, printer);
    SiatkaTabeli grid(data);
    const bool printed = print.DrukujTabeleX(grid, QStringLiteral("Wydruk tabeli"),
                                             QStringLiteral("CENA;WARTOSC"), 0);
    FileDialogs::install(previous);
    return printed;
}

// sqlite3 -list writing the same records to a file, in the same order.
double sqliteList(const QString &program, const QString &table, const QString &output)
{
    QProcess process;
    process.setStandardOutputFile(output);
    Stopwatch watch;
    process.start(
        program,
        {QStringLiteral("-list"), table,
         QStringLiteral("SELECT %1 FROM records ORDER BY NR").arg(QLatin1String(kColumns))});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    return watch.seconds();
}

} // namespace

// DrukujTabeleX of a large table into a text file against the sqlite3 command-line program
// listing the same records into a file, alternated so that both see the same cache; the medians
// are compared. Memory: the peak after printing a tenth of the records and after all of them.
int printTable(const QStringList &arguments)
{
    const long rows = arguments.isEmpty() ? 1000000 : arguments.first().toLong();
    if (rows <= 0) {
        std::fprintf(stderr, "print-table: ROWS must be a positive number\n");
        return 2;
    }
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty()) {
        std::fprintf(stderr, "print-table: the sqlite3 program is missing (scripts/install-deps "
                             "installs it)\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "print-table: cannot make a directory in %s\n",
                     qPrintable(benchDirectory()));
        return 2;
    }
    const QString small = dir.filePath(QStringLiteral("SMALL.DB"));
    const QString large = dir.filePath(QStringLiteral("TABLE.DB"));
    Stopwatch building;
    makePrintTable(small, qMax(rows / 10, 1L));
    makePrintTable(large, rows);
    std::printf("table: %ld records of 7 fields, %.1f MB, built in %.2f s\n", rows,
                double(QFileInfo(large).size()) / 1e6, building.seconds());

    const long before = peakResidentKb();
    if (!printOnce(small, dir.filePath(QStringLiteral("small.txt")))) {
        std::fprintf(stderr, "print-table: the print failed\n");
        return 1;
    }
    const long afterSmall = peakResidentKb();

    constexpr int kRuns = 3;
    std::vector<double> baseline;
    std::vector<double> ours;
    const QString listed = dir.filePath(QStringLiteral("sqlite3.txt"));
    const QString printed = dir.filePath(QStringLiteral("wydruk.txt"));
    for (int run = 0; run < kRuns; ++run) {
        const double seconds = sqliteList(sqlite3, large, listed);
        if (seconds < 0) {
            std::fprintf(stderr, "print-table: sqlite3 failed\n");
            return 1;
        }
        baseline.push_back(seconds);
        Stopwatch watch;
        if (!printOnce(large, printed)) {
            std::fprintf(stderr, "print-table: the print failed\n");
            return 1;
        }
        ours.push_back(watch.seconds());
    }
    const long afterLarge = peakResidentKb();
    std::vector<double> walks;
    std::vector<double> texts;
    std::vector<double> lines;
    for (int run = 0; run < kRuns; ++run) {
        walks.push_back(walkOnly(large, false));
        texts.push_back(walkOnly(large, true));
        lines.push_back(printToNothing(large));
    }
    std::sort(walks.begin(), walks.end());
    std::sort(texts.begin(), texts.end());
    std::sort(lines.begin(), lines.end());
    std::sort(baseline.begin(), baseline.end());
    std::sort(ours.begin(), ours.end());
    const double baselineMedian = baseline[kRuns / 2];
    const double ourMedian = ours[kRuns / 2];
    std::printf("sqlite3 -list:  median %.3f s (min %.3f, max %.3f), %.1f MB\n", baselineMedian,
                baseline.front(), baseline.back(), double(QFileInfo(listed).size()) / 1e6);
    std::printf("DrukujTabeleX:  median %.3f s (min %.3f, max %.3f), %.1f MB\n", ourMedian,
                ours.front(), ours.back(), double(QFileInfo(printed).size()) / 1e6);
    std::printf("  the cursor's walk:                  %.3f s\n", walks[kRuns / 2]);
    std::printf("  the walk with the display texts:    %.3f s\n", texts[kRuns / 2]);
    std::printf("  the job without writing its bytes:  %.3f s\n", lines[kRuns / 2]);
    std::printf("  the bytes written, synced, renamed: %.3f s (the rest)\n",
                ourMedian - lines[kRuns / 2]);
    std::printf("peak memory: %ld kB before printing, %ld kB after %ld records, %ld kB after "
                "%ld\n",
                before, afterSmall, qMax(rows / 10, 1L), afterLarge, rows);
    std::printf("ratio=%.3f\n", ourMedian / baselineMedian);
    return 0;
}

} // namespace rawen::bench
