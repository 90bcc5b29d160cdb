#pragma once

#include <QString>

#include <chrono>
#include <vector>

namespace rawen::bench {

class Stopwatch
{
public:
    Stopwatch() : m_start(std::chrono::steady_clock::now()) {}
    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

// Peak resident memory of this process so far, in kilobytes.
long peakResidentKb();

// Where a case puts its files: $RAWEN_BENCH_DIR, else the current directory. Not /tmp, which is
// often in memory and would make every sync free.
QString benchDirectory();

// Builds the model table of the copy and walk cases: `rows` records of 8 fields (texts, whole
// numbers, numbers), a primary index and two secondary ones.
void makeModelTable(const QString &path, long rows);

// A year directory of about 400 MB at `large` = 400000 on the paths of the year-opening rules:
// every rule's table small, six large ones of about `large` records, two tables no rule names and
// a file that is no table.
void makeYear(const QString &year, long large);

// The bytes of the files under `directory`.
qint64 sizeOf(const QString &directory);

double median(std::vector<double> values);

// Syncs a file's data to disk.
void syncFile(const QString &path);

} // namespace rawen::bench
