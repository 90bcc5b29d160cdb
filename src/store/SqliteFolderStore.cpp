#include "store/SqliteFolderStore.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "store/SqliteStoredTable.h"
#include "store/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace rawen {

namespace {

Store::Entry entryOf(const QFileInfo &info)
{
    Store::Entry entry;
    entry.name = info.fileName();
    entry.link = info.isSymLink();
    if (info.isDir())
        entry.kind = Store::Kind::Directory;
    else if (info.isFile())
        entry.kind = Store::Kind::File;
    else if (info.exists())
        entry.kind = Store::Kind::Other;
    if (entry.kind == Store::Kind::Missing)
        return entry;
    entry.hidden = info.isHidden();
    entry.readOnly = !(info.permissions() & QFileDevice::WriteOwner);
    entry.size = info.size();
    return entry;
}

class FolderUnderConstruction final : public DirectoryUnderConstruction
{
public:
    FolderUnderConstruction(const QString &target, QString &lastError)
        : m_directory(target), m_lastError(lastError)
    {}
    bool isValid() const { return m_directory.isValid(); }
    QString path() const override { return m_directory.path(); }
    bool moveInto(const QString &target) override
    {
        if (m_directory.moveInto(target))
            return true;
        const int error = errno;
        m_lastError = systemErrorText(error);
        errno = error;
        return false;
    }

private:
    TemporaryDirectory m_directory;
    QString &m_lastError;
};

} // namespace

bool SqliteFolderStore::failed()
{
    const int error = errno;
    m_lastError = systemErrorText(error);
    errno = error;
    return false;
}

QList<Store::Entry> SqliteFolderStore::list(const QString &directory) const
{
    QList<Entry> entries;
    const QFileInfoList infos = QDir(directory).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    entries.reserve(infos.size());
    for (const QFileInfo &info : infos)
        entries << entryOf(info);
    return entries;
}

Store::Entry SqliteFolderStore::entry(const QString &path) const
{
    return entryOf(QFileInfo(path));
}

bool SqliteFolderStore::exists(const QString &path) const
{
    return existsAnyKind(path);
}

QString SqliteFolderStore::resolve(const QString &path) const
{
    return resolveCaseInsensitive(path);
}

QString SqliteFolderStore::canonicalPath(const QString &path) const
{
    return QFileInfo(path).canonicalFilePath();
}

bool SqliteFolderStore::makeDirectory(const QString &path)
{
    return rawen::makeDirectory(path) || failed();
}

MoveResult SqliteFolderStore::renameDirectory(const QString &from, const QString &to)
{
    const MoveResult result = moveDirectoryNoReplace(from, to);
    if (result == MoveResult::Failed)
        failed();
    return result;
}

bool SqliteFolderStore::removeDirectory(const QString &path)
{
    if (QDir(path).removeRecursively())
        return true;
    m_lastError =
        QStringLiteral("nie można usunąć katalogu %1").arg(QDir::toNativeSeparators(path));
    return false;
}

std::unique_ptr<DirectoryUnderConstruction> SqliteFolderStore::buildDirectory(const QString &target)
{
    auto directory = std::make_unique<FolderUnderConstruction>(target, m_lastError);
    if (!directory->isValid()) {
        failed();
        return nullptr;
    }
    return directory;
}

bool SqliteFolderStore::clearReadOnly(const QString &path)
{
    return rawen::clearReadOnly(path) || failed();
}

QByteArray SqliteFolderStore::readFile(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(EngineError::Io, QFileInfo(path).fileName(), systemErrorText(errno));
    return file.readAll();
}

void SqliteFolderStore::writeFile(const QString &path, const QByteArray &bytes, bool replace)
{
    rawen::writeFile(path, bytes, replace);
}

void SqliteFolderStore::openTable(const QString &named, int lockTimeoutMs,
                                  std::unique_ptr<StoredTable> &table,
                                  const std::function<void(StoredTable &)> &readFirst)
{
    // Mostly the file is there as named: one look at it tells that and all opening needs.
    QString path = named;
    FileState file = fileState(path);
    if (!file.exists) {
        path = resolveCaseInsensitive(path);
        file = fileState(path);
    }
    auto opened = std::make_unique<SqliteStoredTable>(path);
    SqliteStoredTable &sqlite = *opened;
    table = std::move(opened);
    try {
        sqlite.open(file, lockTimeoutMs, [&] {
            if (readFirst)
                readFirst(sqlite);
        });
    } catch (...) {
        table.reset();
        throw;
    }
}

TableDefinitions SqliteFolderStore::readDefinitions(const QString &path, int lockTimeoutMs)
{
    SqliteDatabase db;
    return TableFile::open(db, path, lockTimeoutMs);
}

void SqliteFolderStore::createTable(const QString &path, const TableDefinitions &definitions,
                                    bool replace)
{
    TableFile::create(path, definitions, replace);
}

void SqliteFolderStore::deleteTable(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path))
        throw EngineError(EngineError::Missing, QStringLiteral("%1: brak tabeli").arg(name));
    // The journal first: a table without its journal is whole, a journal without its table
    // is harmless.
    for (const QString &companion : TableFile::companionFiles(path)) {
        if (!removeFile(companion))
            throw EngineError(EngineError::Io, name,
                              QStringLiteral("nie można usunąć pliku %1: %2")
                                  .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
    }
    if (!removeFile(path))
        throw EngineError(
            EngineError::Io, name,
            QStringLiteral("nie można usunąć tabeli: %1").arg(systemErrorText(errno)));
    (void)syncDirectory(QFileInfo(path).absolutePath());
}

void SqliteFolderStore::replaceTable(const QString &from, const QString &to)
{
    const QString name = QFileInfo(from).fileName();
    if (!QFileInfo::exists(from))
        throw EngineError(EngineError::Missing, QStringLiteral("%1: brak tabeli").arg(name));
    if (!TableFile::companionFiles(from).isEmpty())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: tabela ma niezamknięty dziennik").arg(name));
    // A journal of the replaced table must not be played into the new file.
    for (const QString &companion : TableFile::companionFiles(to)) {
        if ((companion.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive) ||
             companion.endsWith(QLatin1String("-wal"), Qt::CaseInsensitive) ||
             companion.endsWith(QLatin1String("-shm"), Qt::CaseInsensitive)) &&
            !removeFile(companion))
            throw EngineError(EngineError::Io, name,
                              QStringLiteral("nie można usunąć pliku %1: %2")
                                  .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
    }
    if (moveReplacing(from, to) != MoveResult::Done)
        throw EngineError(EngineError::Io, name,
                          QStringLiteral("nie można zastąpić tabeli %1: %2")
                              .arg(QFileInfo(to).fileName(), systemErrorText(errno)));
}

} // namespace rawen
