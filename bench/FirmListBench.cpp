#include "BenchSupport.h"
#include "Cases.h"
#include "data/Session.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "data/WykazFirm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <vector>

namespace rawen::bench {

namespace {

// A data root with firm 000 and firms 001 to `firms`, each with a firm table of its own.
void makeDataRoot(const QString &root, int firms)
{
    {
        Table table;
        table.setTableName(root + QStringLiteral("/FIRMA"));
        AktualizujTabeleFirmy(table);
        table.edit();
        table.fieldByName(QStringLiteral("SKROT")).setAsString(QStringLiteral("Biuro 000"));
        table.post();
    }
    const std::string model = (root + QStringLiteral("/FIRMA.DB")).toStdString();
    for (int n = 1; n <= firms; ++n) {
        const QString number = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
        const QString directory = root + QStringLiteral("/FIRMA") + number;
        QDir().mkpath(directory);
        const QString file = directory + QStringLiteral("/FIRMA.DB");
        std::filesystem::copy_file(model, file.toStdString());
        // Each firm its own name; the set-up is not measured, so no sync.
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(file).constData(), &db);
        sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        const QByteArray sql =
            QStringLiteral("UPDATE records SET SKROT = 'Firma %1 sp. z o.o.'").arg(number).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}

// The least a firm list can cost: the same directory listing, then each firm table opened with
// the SQLite C API and its SKROT read.
QStringList bareList(const QString &root)
{
    QStringList items;
    auto read = [](const QString &file, QString *skrot) {
        sqlite3 *db = nullptr;
        bool ok = false;
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY,
                            nullptr) == SQLITE_OK) {
            sqlite3_stmt *statement = nullptr;
            if (sqlite3_prepare_v2(db, "SELECT SKROT FROM records LIMIT 1", -1, &statement,
                                   nullptr) == SQLITE_OK &&
                sqlite3_step(statement) == SQLITE_ROW) {
                *skrot = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
                ok = true;
            }
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return ok;
    };
    QString skrot;
    if (!read(root + QStringLiteral("FIRMA.DB"), &skrot))
        return items;
    items << QStringLiteral("000 ") + skrot;
    const QFileInfoList entries = QDir(root).entryInfoList(
        {QStringLiteral("FIRMA*")}, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir() && read(entry.filePath() + QStringLiteral("/FIRMA.DB"), &skrot))
            items << entry.fileName().mid(5, 3) + u' ' + skrot;
    }
    return items;
}

} // namespace

// Building the firm list as the main window does, against the bare loop above.
int firmList(const QStringList &arguments)
{
    const int firms = arguments.isEmpty() ? 999 : arguments.first().toInt();
    if (firms <= 0 || firms > 999) {
        std::fprintf(stderr, "firm-list: N must be 1 to 999\n");
        return 2;
    }
    QTemporaryDir dir(benchDirectory() + QStringLiteral("/rawen-bench-XXXXXX"));
    if (!dir.isValid())
        return 2;
    makeDataRoot(dir.path(), firms);
    const QString root = dir.path() + u'/';

    Session session(QStringLiteral("SESJA"));
    Table table(&session);
    constexpr int kRuns = 9;
    std::vector<double> ours;
    std::vector<double> bare;
    qsizetype ourCount = 0;
    qsizetype bareCount = 0;
    for (int run = 0; run < kRuns; ++run) {
        Stopwatch b;
        bareCount = bareList(root).size();
        bare.push_back(b.seconds());
        Stopwatch o;
        ourCount = WykazFirm(root, table).size();
        ours.push_back(o.seconds());
    }
    if (ourCount != firms + 1 || bareCount != firms + 1) {
        std::fprintf(stderr, "firm-list: %lld and %lld items for %d firms\n",
                     static_cast<long long>(ourCount), static_cast<long long>(bareCount),
                     firms + 1);
        return 1;
    }
    std::sort(ours.begin(), ours.end());
    std::sort(bare.begin(), bare.end());
    std::printf("data root: %d firms and firm 000\n", firms);
    std::printf("bare SQLite loop: median %.4f s (min %.4f, max %.4f)\n", bare[kRuns / 2],
                bare.front(), bare.back());
    std::printf("WykazFirm:        median %.4f s (min %.4f, max %.4f)\n", ours[kRuns / 2],
                ours.front(), ours.back());
    std::printf("ratio=%.3f\n", ours[kRuns / 2] / bare[kRuns / 2]);
    return 0;
}

} // namespace rawen::bench
