#include "BenchSupport.h"

#include "data/Table.h"
#include "year/RegulyKopiiRoku.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

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
void makeYearTable(const QString &path, const QStringList &names, long rows)
{
    QDir().mkpath(QFileInfo(path).path());
    Table table;
    table.setTableName(path);
    table.fieldDefs() = fields(names);
    table.indexDefs() = {{QString(), QStringLiteral("ID"), ixPrimary | ixUnique},
                         {QStringLiteral("OPIS"), QStringLiteral("OPIS"), ixCaseInsensitive}};
    if (!names.isEmpty())
        table.indexDefs() << IndexDef{
            QStringLiteral("DRUGI"), names.first() + QStringLiteral(";ID"), {}};
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

} // namespace

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString benchDirectory()
{
    const QString chosen = qEnvironmentVariable("RAWEN_BENCH_DIR");
    return chosen.isEmpty() ? QDir::currentPath() : chosen;
}

void makeModelTable(const QString &path, long rows)
{
    Table table;
    table.setTableName(path);
    table.fieldDefs() = {{QStringLiteral("ID"), ftInteger, 0, true},
                         {QStringLiteral("KOD"), ftString, 10, false},
                         {QStringLiteral("NAZWA"), ftString, 40, false},
                         {QStringLiteral("ILOSC"), ftInteger, 0, false},
                         {QStringLiteral("CENA"), ftFloat, 0, false},
                         {QStringLiteral("WARTOSC"), ftFloat, 0, false},
                         {QStringLiteral("OPIS"), ftString, 60, false},
                         {QStringLiteral("GRUPA"), ftInteger, 0, false}};
    table.indexDefs() = {{QString(), QStringLiteral("ID"), ixPrimary | ixUnique},
                         {QStringLiteral("NAZWA"), QStringLiteral("NAZWA"), ixCaseInsensitive},
                         {QStringLiteral("GRUPA"), QStringLiteral("GRUPA;KOD"), {}}};
    table.createTable();
    table.open();
    table.startTransaction();
    for (long i = 1; i <= rows; ++i) {
        table.append();
        table.field(0).setAsInteger(i);
        table.field(1).setAsString(QStringLiteral("K%1").arg(i % 9973, 6, 10, QLatin1Char('0')));
        table.field(2).setAsString(
            QStringLiteral("Kontrahent numer %1 sp. z o.o.").arg((i * 7919) % rows));
        table.field(3).setAsInteger(i % 1000);
        table.field(4).setAsFloat(double(i % 10000) / 100.0);
        table.field(5).setAsFloat(double(i % 1000) * double(i % 10000) / 100.0);
        table.field(6).setAsString(QStringLiteral("Faktura VAT %1/2005 za usługi księgowe").arg(i));
        table.field(7).setAsInteger(i % 50);
        table.post();
    }
    table.commit();
    table.close();
}

void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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
    const QStringList big{"HARNOL\\HARNOL.DB", "FIN\\SUMA.DB",     "HARNOL\\SUMA.DB",
                          "FIN\\RD.DB",        "FIN\\KONTRAHI.DB", "FIN\\ZAKUP.DB"};
    for (const RegulaKopiiRoku &rule : RegulyKopiiRoku()) {
        QString relative = rule.koncowka;
        relative.replace(u'\\', u'/');
        const qsizetype at = big.indexOf(rule.koncowka);
        const long rows = at < 0 ? 200 : large * (4 + at % 3) / 5;
        makeYearTable(year + u'/' + relative, fieldsOf(rule), rows);
    }
    makeYearTable(year + QStringLiteral("/HARNOL/NOWA.DB"), {QStringLiteral("NAZWA")}, 500);
    makeYearTable(year + QStringLiteral("/INNE/DODATKOWA.DB"), {QStringLiteral("NAZWA")}, 500);
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

} // namespace rawen::bench
