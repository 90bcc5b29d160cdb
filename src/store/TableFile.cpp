#include "store/TableFile.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "store/Sqlite.h"
#include "store/TableInternal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <optional>
#include <sqlite3.h>

namespace rawen {
namespace TableFile {

QString columnType(TFieldType type)
{
    switch (storageOf(type)) {
    case Storage::Text:
        return QStringLiteral("TEXT");
    case Storage::Integer:
        return QStringLiteral("INTEGER");
    case Storage::Real:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("BLOB");
    }
}

namespace {

int fieldIndex(const QList<FieldDef> &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString shortName(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

} // namespace

void validate(const Definitions &d, const QString &context)
{
    auto bad = [&](const QString &why) {
        throw EngineError(EngineError::BadValue, QStringLiteral("%1: %2").arg(context, why));
    };
    if (d.fields.isEmpty())
        bad(QStringLiteral("tabela bez pól"));
    QSet<QString> names;
    for (const FieldDef &f : d.fields) {
        if (f.name.trimmed().isEmpty())
            bad(QStringLiteral("pole bez nazwy"));
        if (f.name.startsWith(QLatin1String("rawen_"), Qt::CaseInsensitive) ||
            f.name.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0)
            bad(QStringLiteral("nazwa pola %1 jest zastrzeżona").arg(f.name));
        if (hasControlCharacter(f.name))
            bad(QStringLiteral("nazwa pola %1 zawiera znak sterujący").arg(f.name.simplified()));
        if (names.contains(f.name.toUpper()))
            bad(QStringLiteral("pole %1 powtórzone").arg(f.name));
        names.insert(f.name.toUpper());
        if (storageOf(f.dataType) == Storage::Unsupported)
            bad(QStringLiteral("typ %1 pola %2 nie jest obsługiwany")
                    .arg(fieldTypeName(f.dataType), f.name));
        if (f.size < 0)
            bad(QStringLiteral("ujemny rozmiar pola %1").arg(f.name));
    }
    int primaries = 0;
    QSet<QString> indexNames;
    for (const IndexDef &ix : d.indexes) {
        if (ix.options & ixPrimary)
            ++primaries;
        else if (ix.name.isEmpty())
            bad(QStringLiteral("indeks bez nazwy, który nie jest główny"));
        if (hasControlCharacter(ix.name) || hasControlCharacter(ix.fields))
            bad(QStringLiteral("indeks %1 zawiera znak sterujący").arg(ix.name.simplified()));
        if (!ix.name.isEmpty()) {
            if (indexNames.contains(ix.name.toUpper()))
                bad(QStringLiteral("indeks %1 powtórzony").arg(ix.name));
            indexNames.insert(ix.name.toUpper());
        }
        for (const QString &name : indexFieldNames(ix)) {
            if (fieldIndex(d.fields, name) < 0)
                bad(QStringLiteral("indeks %1: brak pola %2").arg(ix.name, name));
        }
    }
    if (primaries > 1)
        bad(QStringLiteral("więcej niż jeden indeks główny"));
}

QString indexSql(const IndexDef &index, int number, const QList<FieldDef> &fields,
                 const QString &table)
{
    QStringList columns;
    for (const QString &name : indexFieldNames(index)) {
        const FieldDef &f = fields[fieldIndex(fields, name)];
        QString column = quoteIdentifier(f.name);
        if ((index.options & ixCaseInsensitive) && isTextType(f.dataType))
            column += QLatin1String(" COLLATE NOCASE");
        columns << column;
    }
    const bool unique = index.options & (ixPrimary | ixUnique);
    return QStringLiteral("CREATE %1INDEX rawen_ix%2 ON %3(%4)")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString())
        .arg(number)
        .arg(quoteIdentifier(table), columns.join(QLatin1String(", ")));
}

void create(const QString &path, const Definitions &d, bool replace)
{
    const QString context = shortName(path);
    validate(d, context);
    const QFileInfo info(path);
    const QString directory = info.absolutePath();
    if (!QFileInfo(directory).isDir())
        throw EngineError(EngineError::Io,
                          QStringLiteral("%1: brak katalogu %2").arg(context, directory));

    // Built under a name of its own, with the permissions a new file gets; whatever happens
    // below, the temporary (and a journal beside it) goes with this object.
    TemporaryFile temporary(path);
    if (!temporary.isValid())
        throw EngineError(EngineError::Io, context,
                          QStringLiteral("nie można utworzyć pliku w %1: %2")
                              .arg(directory, systemErrorText(errno)));
    if (!temporary.closeHandle())
        throw EngineError(EngineError::Io, context, systemErrorText(errno));
    const QString temporaryPath = temporary.path();

    {
        SqliteDatabase db;
        db.open(temporaryPath, context, true);
        // Nobody can see the file before it is named, and a failure throws it away: it is built
        // without a journal and synced once, below.
        db.exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                               "PRAGMA application_id=%1; PRAGMA user_version=%2;")
                    .arg(kApplicationId)
                    .arg(kFormatVersion));
        db.exec(QStringLiteral("BEGIN"));
        db.exec(QStringLiteral(
            "CREATE TABLE rawen_description(fields TEXT NOT NULL, indexes TEXT NOT NULL)"));
        SqliteStatement description =
            db.prepare(QStringLiteral("INSERT INTO rawen_description VALUES(?, ?)"));
        description.bind(1, describeFields(d.fields));
        description.bind(2, describeIndexes(d.indexes));
        description.run();
        QStringList columns;
        for (const FieldDef &f : d.fields)
            columns << quoteIdentifier(f.name) + u' ' + columnType(f.dataType);
        // Required is kept in the description only, not as NOT NULL: the engine checks it on
        // post, and a copy can drop it without rebuilding the table.
        db.exec(QStringLiteral("CREATE TABLE records(%1)").arg(columns.join(QLatin1String(", "))));
        for (int i = 0; i < d.indexes.size(); ++i)
            db.exec(indexSql(d.indexes[i], i, d.fields));
        db.exec(QStringLiteral("COMMIT"));
    }
    if (!syncFile(temporaryPath))
        throw EngineError(EngineError::Io, context, systemErrorText(errno));

    if (replace) {
        // A journal left by the old table would be played into the new file on its first open.
        for (const QString &companion : companionFiles(path)) {
            if (!removeFile(companion))
                throw EngineError(
                    EngineError::Io, context,
                    QStringLiteral("nie można usunąć pliku %1: %2")
                        .arg(QFileInfo(companion).fileName(), systemErrorText(errno)));
        }
        if (moveReplacing(temporaryPath, path) != MoveResult::Done)
            throw EngineError(
                EngineError::Io, context,
                QStringLiteral("nie można zastąpić tabeli: %1").arg(systemErrorText(errno)));
    } else {
        switch (moveNoReplace(temporaryPath, path)) {
        case MoveResult::Done:
            break;
        case MoveResult::TargetExists:
            throw EngineError(EngineError::Locked, context, QStringLiteral("plik już istnieje"));
        case MoveResult::Failed:
            throw EngineError(
                EngineError::Io, context,
                QStringLiteral("nie można utworzyć tabeli: %1").arg(systemErrorText(errno)));
        }
    }
    temporary.release();
}

namespace {

// The values of the database header that opening checks.
struct Header
{
    quint32 applicationId = 0;
    quint32 formatVersion = 0;
    qint64 pages = 0; // 0 when the header does not vouch for it
    qint64 pageSize = 0;
    bool wal = false;
};

quint32 bigEndian(const unsigned char *p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// Read through SQLite's own file handle while a statement of the caller holds the file: no
// descriptor of ours is opened and closed (which would drop the process's locks on it), and no
// writer can be half-way through the first page.
bool readHeader(const SqliteDatabase &db, Header *header)
{
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return false;
    unsigned char h[100];
    if (file->pMethods->xRead(file, h, sizeof h, 0) != SQLITE_OK)
        return false;
    const quint32 size = quint32(h[16]) << 8 | h[17];
    header->pageSize = size == 1 ? 65536 : size;
    header->wal = h[18] == 2 || h[19] == 2;
    // The page count in the header holds when the change counter matches its validity mark.
    header->pages = bigEndian(h + 24) == bigEndian(h + 92) ? bigEndian(h + 28) : 0;
    header->formatVersion = bigEndian(h + 60);
    header->applicationId = bigEndian(h + 68);
    return true;
}

} // namespace

void checkColumns(const SqliteDatabase &db, const QList<FieldDef> &fields, const QString &context)
{
    // The schema SQLite has already read answers this without a query.
    bool matches = !fields.isEmpty();
    for (qsizetype i = 0; matches && i < fields.size(); ++i)
        matches = sqlite3_table_column_metadata(db.handle(), "main", "records",
                                                fields[i].name.toUtf8().constData(), nullptr,
                                                nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!matches)
        throw EngineError(EngineError::Damaged,
                          QStringLiteral("%1: plik tabeli jest uszkodzony (%2)")
                              .arg(context, QStringLiteral("opis pól nie zgadza się z danymi")));
}

Definitions open(SqliteDatabase &db, const QString &path, int lockTimeoutMs)
{
    return open(db, path, fileState(path), lockTimeoutMs, {});
}

Definitions open(SqliteDatabase &db, const QString &path, const FileState &file, int lockTimeoutMs,
                 const std::function<void(const Definitions &)> &readFirst)
{
    const QString context = shortName(path);
    if (!file.exists && file.noAccess)
        throw EngineError(EngineError::NoAccess, context,
                          QStringLiteral("brak uprawnień do katalogu tabeli"));
    if (!file.exists)
        throw EngineError(EngineError::Missing, context, QStringLiteral("brak tabeli"));
    auto damaged = [&](const QString &why) {
        db.close();
        throw EngineError(EngineError::Damaged,
                          QStringLiteral("%1: plik tabeli jest uszkodzony (%2)").arg(context, why));
    };
    if (!file.isFile)
        damaged(QStringLiteral("to nie jest plik"));
    if (file.size == 0)
        damaged(QStringLiteral("pusty plik"));

    // The read-only mark is the owner's write bit, also for a program running as root, which
    // the file system would let write anyway.
    db.open(path, context, false, file.readOnly);
    db.setBusyTimeout(lockTimeoutMs);
    Definitions d;
    Header header;
    // The description's statement stays on its row until the caller's first read is done: one
    // read transaction for both, so the file is locked and unlocked once and both see the same
    // state of it.
    std::optional<SqliteStatement> reading;
    try {
        bool headerRead = false;
        try {
            d = readDefinitions(
                db, [&] { headerRead = readHeader(db, &header); }, &reading);
        } catch (const EngineError &error) {
            // A database without our description is some other program's.
            if (error.kind() == EngineError::Io)
                damaged(QStringLiteral("to nie jest tabela programu"));
            throw;
        }
        if (!headerRead || header.applicationId != quint32(kApplicationId))
            damaged(QStringLiteral("to nie jest tabela programu"));
        if (header.pages * header.pageSize > file.size)
            damaged(QStringLiteral("plik jest obcięty"));
        if (header.formatVersion > quint32(kFormatVersion))
            damaged(QStringLiteral("nowsza wersja formatu"));
        if (d.fields.isEmpty())
            damaged(QStringLiteral("opis pól nie zgadza się z danymi"));
        if (!readFirst)
            checkColumns(db, d.fields, context);
    } catch (const EngineError &error) {
        reading.reset();
        db.close();
        if (error.kind() == EngineError::Locked || error.kind() == EngineError::Damaged ||
            error.kind() == EngineError::NeedsRecovery || error.kind() == EngineError::NoAccess)
            throw;
        // Any other surprise on the way in.
        throw EngineError(
            EngineError::Damaged,
            QStringLiteral("%1: plik tabeli jest uszkodzony (%2)").arg(context, error.message()));
    }
    try {
        // The caller's errors are its own; closing ends the transaction.
        if (readFirst)
            readFirst(d);
        reading.reset();
        if (header.wal && !db.isReadOnly())
            db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        // Each post must be on the disk when it returns. Most builds of SQLite sync fully by
        // default; asking costs a statement, so the library is asked once.
        static const bool syncsFully = db.scalar(QStringLiteral("PRAGMA synchronous")).toInt() == 2;
        if (!syncsFully)
            db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (...) {
        reading.reset();
        db.close();
        throw;
    }
    return d;
}

QStringList companionFiles(const QString &path)
{
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    const QString file = info.fileName();
    const QString base = info.completeBaseName();
    // SQLite's own, then the old engine's primary and secondary index, memo and validity files.
    static const QRegularExpression oldEngine(
        QStringLiteral("^(PX|MB|VAL|TV|FAM|X[0-9A-F]{2}|Y[0-9A-F]{2}|XG[0-9A-F]|YG[0-9A-F])$"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(file, Qt::CaseInsensitive) == 0)
            continue;
        if (entry.startsWith(file + u'-', Qt::CaseInsensitive)) {
            const QString suffix = entry.mid(file.size() + 1).toLower();
            if (suffix == QLatin1String("journal") || suffix == QLatin1String("wal") ||
                suffix == QLatin1String("shm"))
                found << dir.filePath(entry);
            continue;
        }
        const int dot = entry.lastIndexOf(u'.');
        if (dot > 0 && entry.left(dot).compare(base, Qt::CaseInsensitive) == 0 &&
            oldEngine.match(entry.mid(dot + 1)).hasMatch())
            found << dir.filePath(entry);
    }
    return found;
}

} // namespace TableFile
} // namespace rawen
