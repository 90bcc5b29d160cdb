#include "BenchSupport.h"
#include "Cases.h"
#include "data/Table.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace rawen::bench {

namespace {

long walk(Table &table, double *sum)
{
    long count = 0;
    for (table.first(); !table.eof(); table.next()) {
        *sum += table.field(4).asFloat();
        ++count;
    }
    return count;
}

} // namespace

// Walks a large table in primary and in secondary order and compares the peak memory after the
// walks with the peak before them: a walk that keeps memory flat gives a ratio near 1.
int walkTable(const QStringList &arguments)
{
    const long rows = arguments.isEmpty() ? 1000000 : arguments.first().toLong();
    if (rows <= 0) {
        std::fprintf(stderr, "walk-table: ROWS must be a positive number\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid())
        return 2;
    const QString model = dir.filePath(QStringLiteral("MODEL.DB"));
    makeModelTable(model, rows);

    Table table;
    table.setTableName(model);
    table.open();
    // A short walk first, so that what a walk needs at all is in the baseline.
    double sum = 0;
    table.setFilter(QStringLiteral("ID <= 1000"));
    table.setFiltered(true);
    walk(table, &sum);
    table.setFiltered(false);
    const long before = peakResidentKb();

    Stopwatch primary;
    const long primaryCount = walk(table, &sum);
    const double primarySeconds = primary.seconds();
    table.setIndexName(QStringLiteral("NAZWA"));
    Stopwatch secondary;
    const long secondaryCount = walk(table, &sum);
    const double secondarySeconds = secondary.seconds();
    const long after = peakResidentKb();

    std::printf("table: %ld records, %.1f MB\n", rows, double(QFileInfo(model).size()) / 1e6);
    std::printf("primary order: %ld records in %.2f s\n", primaryCount, primarySeconds);
    std::printf("secondary order: %ld records in %.2f s\n", secondaryCount, secondarySeconds);
    std::printf("peak memory: %ld kB before the walks, %ld kB after\n", before, after);
    if (primaryCount != rows || secondaryCount != rows) {
        std::fprintf(stderr, "walk-table: a walk missed records\n");
        return 1;
    }
    std::printf("ratio=%.3f\n", double(after) / double(before));
    return 0;
}

} // namespace rawen::bench
