#pragma once

#include "store/Store.h"

namespace rawen {

// The first store: a data root that is a folder on a disk of this machine, each table a SQLite
// database file named as the program names the table (FIRMA.DB), the directories the system's
// own, every write through the durable-file layer (platform/DurableFiles) or SQLite's own
// journal. A table another program may hold open is changed inside SQLite, never swapped under
// it by a rename. SQLite's locking is not safe on a network file system: such a folder is to be
// refused before it is used (DyskSieciowy).
class SqliteFolderStore final : public Store
{
public:
    QList<Entry> list(const QString &directory) const override;
    bool readDirectory(const QString &directory, QList<Entry> &entries,
                       QString &error) const override;
    Entry entry(const QString &path) const override;
    bool exists(const QString &path) const override;
    QString resolve(const QString &path) const override;
    QString canonicalPath(const QString &path) const override;

    bool makeDirectory(const QString &path) override;
    MoveResult renameDirectory(const QString &from, const QString &to) override;
    bool removeDirectory(const QString &path) override;
    std::unique_ptr<DirectoryUnderConstruction> buildDirectory(const QString &target) override;
    bool clearReadOnly(const QString &path) override;
    qsizetype longestTablePath() const override;
    QString lastError() const override { return m_lastError; }

    QByteArray readFile(const QString &path) const override;
    void writeFile(const QString &path, const QByteArray &bytes, bool replace) override;

    void openTable(const QString &path, int lockTimeoutMs, std::unique_ptr<StoredTable> &table,
                   const std::function<void(StoredTable &)> &readFirst) override;
    TableDefinitions readDefinitions(const QString &path, int lockTimeoutMs) override;
    void createTable(const QString &path, const TableDefinitions &definitions,
                     bool replace) override;
    void deleteTable(const QString &path) override;
    void replaceTable(const QString &from, const QString &to) override;
    bool isOurTable(const QString &path) const override;

    std::unique_ptr<WholeFileReader> readWhole(const QString &path) override;
    bool writeIntoTable(const QString &source, const QString &path, int lockTimeoutMs) override;

private:
    // Keeps why the step that just failed failed (errno), and returns false.
    bool failed();

    QString m_lastError;
};

} // namespace rawen
