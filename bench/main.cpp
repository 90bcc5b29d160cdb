#include "Cases.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

// rawen-bench CASE [ARGUMENTS]: one case per measured operation. Each prints its figures and,
// as its last line, ratio=<number> against the baseline it measures in the same run.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    struct Case
    {
        const char *name;
        const char *usage;
        int (*run)(const QStringList &);
    };
    static const Case cases[] = {
        {"archive",
         "[ROWS]  Archiwizuj with its check of BAZA and three years of about 400 MB in all (large "
         "tables of about ROWS records) against cp -r + sync (goal: ratio <= 1.3)",
         rawen::bench::archive},
        {"copy-table",
         "[ROWS]  KopiujStrukture with records against copy_file + fsync (goal: ratio <= 2)",
         rawen::bench::copyTable},
        {"firm-list",
         "[N]  the firm list of a data root with N firms against a bare SQLite loop (goal: ratio "
         "<= 1.5)",
         rawen::bench::firmList},
        {"import",
         "[ROWS [TABLES]]  rawen --importuj of an old root of TABLES old-format tables of ROWS "
         "records (about 200 MB at 150000 and 8) with its read-back check, against a bare SQLite "
         "load of the same records decoded in memory (goal: ratio <= 1.5)",
         rawen::bench::import},
        {"print-table",
         "[ROWS]  DrukujTabeleX to a text file against sqlite3 -list of the same records (goal: "
         "ratio <= 1, peak memory flat)",
         rawen::bench::printTable},
        {"walk-table",
         "[ROWS]  peak memory after walking a table against before (flat: ratio near 1)",
         rawen::bench::walkTable},
        {"year-copy",
         "[ROWS]  KopiujKatalog of a year of about 400 MB (six large tables of about ROWS "
         "records) against cp -r + sync (goal: ratio <= 1.5)",
         rawen::bench::yearCopy},
    };
    QStringList arguments = application.arguments().mid(1);
    if (!arguments.isEmpty()) {
        const QString name = arguments.takeFirst();
        for (const Case &c : cases) {
            if (name == QLatin1String(c.name))
                return c.run(arguments);
        }
    }
    std::fprintf(stderr, "usage: rawen-bench CASE [ARGUMENTS]\n");
    for (const Case &c : cases)
        std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
    return 2;
}
