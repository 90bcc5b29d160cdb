#include "BenchSupport.h"
#include "Cases.h"
#include "data/Session.h"
#include "data/Table.h"
#include "year/KopiujKatalog.h"
#include "year/RegulyKopiiRoku.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace rawen::bench {

// KopiujKatalog of a whole year, the check of the new year included, against `cp -r` of the same
// directory followed by `sync`, alternated so that both read the source from the same cache.
int yearCopy(const QStringList &arguments)
{
    const long large = arguments.isEmpty() ? 400000 : arguments.first().toLong();
    if (large <= 0) {
        std::fprintf(stderr, "year-copy: ROWS must be a positive number\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "year-copy: cannot make a directory in %s\n",
                     qPrintable(benchDirectory()));
        return 2;
    }
    const QString source = dir.filePath(QStringLiteral("2025"));
    Stopwatch building;
    makeYear(source, large);
    QProcess::execute(QStringLiteral("sync"), {});
    std::printf("year: %.1f MB in %s, built in %.1f s\n", double(sizeOf(source)) / 1e6,
                qPrintable(source), building.seconds());

    constexpr int kRuns = 5;
    std::vector<double> plain;
    std::vector<double> ours;
    Session session(QStringLiteral("SESJA"));
    for (int run = 0; run < kRuns; ++run) {
        const QString plainTarget = dir.filePath(QStringLiteral("CP%1").arg(run));
        Stopwatch p;
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, plainTarget});
        QProcess::execute(QStringLiteral("sync"), {});
        plain.push_back(p.seconds());

        const QString ourTarget = dir.filePath(QStringLiteral("2026-%1").arg(run));
        Stopwatch o;
        QDir().mkpath(ourTarget);
        Table ts(&session);
        WynikKopii result;
        KopiujKatalog(ts, source, ourTarget, {}, &result);
        const QStringList mismatches = SprawdzKopie(result, {});
        ours.push_back(o.seconds());
        if (!result.bledy.isEmpty() || !mismatches.isEmpty()) {
            std::fprintf(stderr, "year-copy: the copy failed: %s\n",
                         qPrintable((result.bledy + mismatches).join(u'\n')));
            return 1;
        }
        if (run == 0)
            std::printf("new year: %.1f MB, %lld tables made\n", double(sizeOf(ourTarget)) / 1e6,
                        qsizetype(result.utworzone.size()));
        QDir(plainTarget).removeRecursively();
        QDir(ourTarget).removeRecursively();
        QProcess::execute(QStringLiteral("sync"), {});
    }
    const double plainMedian = median(plain);
    const double ourMedian = median(ours);
    std::printf("cp -r + sync:            median %.3f s (min %.3f, max %.3f)\n", plainMedian,
                *std::min_element(plain.begin(), plain.end()),
                *std::max_element(plain.begin(), plain.end()));
    std::printf("KopiujKatalog + check:   median %.3f s (min %.3f, max %.3f)\n", ourMedian,
                *std::min_element(ours.begin(), ours.end()),
                *std::max_element(ours.begin(), ours.end()));
    std::printf("ratio=%.3f\n", ourMedian / plainMedian);
    return 0;
}

} // namespace rawen::bench
