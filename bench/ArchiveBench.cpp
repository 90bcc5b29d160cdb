#include "BenchSupport.h"
#include "Cases.h"
#include "archive/Archiwum.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace rawen::bench {

// The archive of a data directory (BAZA and three years, about 400 MB at the default size) with
// its default check, against `cp -r` of the same directories followed by `sync`, alternated.
int archive(const QStringList &arguments)
{
    const long large = arguments.isEmpty() ? 130000 : arguments.first().toLong();
    if (large <= 0) {
        std::fprintf(stderr, "archive: ROWS must be a positive number\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "archive: cannot make a directory in %s\n",
                     qPrintable(benchDirectory()));
        return 2;
    }
    const QString R = dir.filePath(QStringLiteral("DANE")) + u'/';
    const QStringList years{QStringLiteral("2024"), QStringLiteral("2025"), QStringLiteral("2026")};
    Stopwatch building;
    // BAZA as a small year: the shared tables are few and small.
    makeYear(R + QStringLiteral("BAZA"), 2000);
    for (const QString &year : years)
        makeYear(R + year, large);
    QProcess::execute(QStringLiteral("sync"), {});
    std::printf("data: %.1f MB in %s, built in %.1f s\n", double(sizeOf(R)) / 1e6, qPrintable(R),
                building.seconds());

    constexpr int kRuns = 5;
    std::vector<double> plain;
    std::vector<double> ours;
    for (int run = 0; run < kRuns; ++run) {
        const QString plainTarget = dir.filePath(QStringLiteral("CP%1").arg(run));
        Stopwatch p;
        QDir().mkpath(plainTarget);
        QStringList copied;
        for (const QString &part : QStringList{QStringLiteral("BAZA")} + years)
            copied << R + part;
        QProcess::execute(QStringLiteral("cp"),
                          QStringList{QStringLiteral("-r")} + copied + QStringList{plainTarget});
        QProcess::execute(QStringLiteral("sync"), {});
        plain.push_back(p.seconds());

        const QString A = dir.filePath(QStringLiteral("ARCHIWUM%1").arg(run)) + u'/';
        Stopwatch o;
        const WynikArchiwum result = Archiwizuj(R, A, years, {}, false);
        ours.push_back(o.seconds());
        if (!result.udane()) {
            std::fprintf(stderr, "archive: the archive failed: %s\n",
                         qPrintable(result.bledy.join(u'\n')));
            return 1;
        }
        if (run == 0)
            std::printf("archive: %.1f MB, %d files, %d tables checked\n", double(sizeOf(A)) / 1e6,
                        result.pliki, result.tabele);
        QDir(plainTarget).removeRecursively();
        QDir(A).removeRecursively();
        QProcess::execute(QStringLiteral("sync"), {});
    }
    const double plainMedian = median(plain);
    const double ourMedian = median(ours);
    std::printf("cp -r + sync:          median %.3f s (min %.3f, max %.3f)\n", plainMedian,
                *std::min_element(plain.begin(), plain.end()),
                *std::max_element(plain.begin(), plain.end()));
    std::printf("Archiwizuj + check:    median %.3f s (min %.3f, max %.3f)\n", ourMedian,
                *std::min_element(ours.begin(), ours.end()),
                *std::max_element(ours.begin(), ours.end()));
    std::printf("ratio=%.3f\n", ourMedian / plainMedian);
    return 0;
}

} // namespace rawen::bench
