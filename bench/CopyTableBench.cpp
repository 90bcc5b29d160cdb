#include "BenchSupport.h"
#include "Cases.h"
#include "data/KopiujStrukture.h"
#include "data/Table.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace rawen::bench {

// KopiujStrukture with records against a plain durable copy of the same table file (copy, then
// sync), alternated so that both see the same cache; the median of each is compared.
int copyTable(const QStringList &arguments)
{
    const long rows = arguments.isEmpty() ? 500000 : arguments.first().toLong();
    if (rows <= 0) {
        std::fprintf(stderr, "copy-table: ROWS must be a positive number\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "copy-table: cannot make a directory in %s\n",
                     qPrintable(benchDirectory()));
        return 2;
    }
    const QString model = dir.filePath(QStringLiteral("MODEL.DB"));
    Stopwatch building;
    makeModelTable(model, rows);
    std::printf("model: %ld records, %.1f MB, built in %.2f s\n", rows,
                double(QFileInfo(model).size()) / 1e6, building.seconds());

    Table table;
    table.setTableName(model);
    table.open();

    constexpr int kRuns = 5;
    std::vector<double> plain;
    std::vector<double> ours;
    for (int run = 0; run < kRuns; ++run) {
        const QString plainTarget = dir.filePath(QStringLiteral("PLAIN%1.DB").arg(run));
        Stopwatch p;
        std::filesystem::copy_file(model.toStdString(), plainTarget.toStdString());
        syncFile(plainTarget);
        plain.push_back(p.seconds());

        const QString ourTarget = dir.filePath(QStringLiteral("COPY%1.DB").arg(run));
        Stopwatch o;
        if (!KopiujStrukture(table, ourTarget, true, QString())) {
            std::fprintf(stderr, "copy-table: KopiujStrukture failed\n");
            return 1;
        }
        ours.push_back(o.seconds());
        QFile::remove(plainTarget);
        QFile::remove(ourTarget);
    }
    std::sort(plain.begin(), plain.end());
    std::sort(ours.begin(), ours.end());
    const double plainMedian = plain[kRuns / 2];
    const double ourMedian = ours[kRuns / 2];
    std::printf("plain copy + fsync: median %.4f s (min %.4f, max %.4f)\n", plainMedian,
                plain.front(), plain.back());
    std::printf("KopiujStrukture:    median %.4f s (min %.4f, max %.4f)\n", ourMedian, ours.front(),
                ours.back());
    std::printf("ratio=%.3f\n", ourMedian / plainMedian);
    return 0;
}

} // namespace rawen::bench
