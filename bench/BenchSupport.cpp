#include "BenchSupport.h"

#include "data/Table.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace rawen::bench {

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

} // namespace rawen::bench
