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

namespace {

QList<FieldDef> fields(const QStringList &names)
{
    QList<FieldDef> result{{QStringLiteral("ID"), ftInteger, 0, true}};
    for (const QString &name : names)
        result << FieldDef{name, ftString, 30, false};
    result << FieldDef{QStringLiteral("KWOTA"), ftCurrency, 0, false}
           << FieldDef{QStringLiteral("OPIS"), ftString, 60, false};
    return result;
}

// A table at `path` with `rows` records; the records are made by SQLite itself, which is far
// quicker than the cursor for a generator.
void makeTable(const QString &path, const QStringList &names, long rows)
{
    QDir().mkpath(QFileInfo(path).path());
    Table table;
    table.setTableName(path);
    table.fieldDefs() = fields(names);
    table.indexDefs() = {{QString(), QStringLiteral("ID"), ixPrimary | ixUnique},
                         {QStringLiteral("OPIS"), QStringLiteral("OPIS"), ixCaseInsensitive}};
    if (!names.isEmpty())
        table.indexDefs() << IndexDef{QStringLiteral("DRUGI"), names.first() + QStringLiteral(";ID"),
                                      {}};
    table.createTable();
    if (rows <= 0)
        return;
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QStringList columns{QStringLiteral("ID")};
    QStringList values{QStringLiteral("i")};
    for (const QString &name : names) {
        columns << QLatin1Char('"') + name + QLatin1Char('"');
        values << QStringLiteral("printf('%1 %d', i % 997)").arg(name);
    }
    columns << QStringLiteral("KWOTA") << QStringLiteral("OPIS");
    values << QStringLiteral("(i % 100000) / 100.0")
           << QStringLiteral("printf('Faktura %d/2025 za usługi księgowe', i)");
    const QString sql = QStringLiteral("PRAGMA synchronous=OFF; BEGIN; WITH RECURSIVE n(i) AS "
                                       "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                       "INSERT INTO records(%2) SELECT %3 FROM n; COMMIT")
                            .arg(rows)
                            .arg(columns.join(u','), values.join(u','));
    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A year of about 400 MB on the rule paths: every rule's table small, six large ones (two the
// rules make empty, two with fields emptied, two copied whole), two tables no rule names and a
// file that is no table.
void makeYear(const QString &year, long large)
{
    auto fieldsOf = [](const RegulaKopiiRoku &rule) {
        QStringList names = rule.polaDoCzyszczenia.split(u';', Qt::SkipEmptyParts);
        names.removeAll(QStringLiteral("ID"));
        names << QStringLiteral("NAZWA");
        return names;
    };
    const QStringList big{"HARNOL\\HARNOL.DB", "FIN\\SUMA.DB", "HARNOL\\SUMA.DB", "FIN\\RD.DB",
                          "FIN\\KONTRAHI.DB", "FIN\\ZAKUP.DB"};
    for (const RegulaKopiiRoku &rule : RegulyKopiiRoku()) {
        QString relative = rule.koncowka;
        relative.replace(u'\\', u'/');
        const qsizetype at = big.indexOf(rule.koncowka);
        const long rows = at < 0 ? 200 : large * (4 + at % 3) / 5;
        makeTable(year + u'/' + relative, fieldsOf(rule), rows);
    }
    makeTable(year + QStringLiteral("/HARNOL/NOWA.DB"), {QStringLiteral("NAZWA")}, 500);
    makeTable(year + QStringLiteral("/INNE/DODATKOWA.DB"), {QStringLiteral("NAZWA")}, 500);
    QFile notes(year + QStringLiteral("/NOTATKI.TXT"));
    notes.open(QIODevice::WriteOnly);
    notes.write("Notatki roku\n");
}

qint64 sizeOf(const QString &directory)
{
    qint64 size = 0;
    QDirIterator it(directory, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        size += QFileInfo(it.next()).size();
    return size;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

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
            std::printf("new year: %.1f MB, %lld tables made\n",
                        double(sizeOf(ourTarget)) / 1e6, qsizetype(result.utworzone.size()));
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
