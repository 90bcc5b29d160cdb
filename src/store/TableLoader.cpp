#include "store/TableLoader.h"

#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "store/Sqlite.h"
#include "store/TableInternal.h"

#include <QFileInfo>

#include <cerrno>
#include <sqlite3.h>

namespace rawen {

TableLoader::TableLoader(const QString &path, const TableFile::Definitions &definitions)
    : m_path(path), m_context(QFileInfo(path).fileName()), m_definitions(definitions)
{
    TableFile::validate(definitions, m_context);
    const QString directory = QFileInfo(path).absolutePath();
    if (!QFileInfo(directory).isDir())
        throw EngineError(EngineError::Io,
                          QStringLiteral("%1: brak katalogu %2").arg(m_context, directory));
    if (existsAnyKind(path))
        throw EngineError(EngineError::Locked, m_context, QStringLiteral("plik już istnieje"));
    m_temporary = std::make_unique<TemporaryFile>(path);
    if (!m_temporary->isValid() || !m_temporary->closeHandle())
        throw EngineError(EngineError::Io, m_context,
                          QStringLiteral("nie można utworzyć pliku w %1: %2")
                              .arg(directory, systemErrorText(errno)));
    m_db = std::make_unique<SqliteDatabase>();
    m_db->open(m_temporary->path(), m_context, true);
    m_db->exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                              "PRAGMA application_id=%1; PRAGMA user_version=%2;")
                   .arg(TableFile::kApplicationId)
                   .arg(TableFile::kFormatVersion));
    m_db->exec(QStringLiteral("BEGIN"));
    m_db->exec(QStringLiteral(
        "CREATE TABLE rawen_description(fields TEXT NOT NULL, indexes TEXT NOT NULL)"));
    SqliteStatement description =
        m_db->prepare(QStringLiteral("INSERT INTO rawen_description VALUES(?, ?)"));
    description.bind(1, TableFile::describeFields(definitions.fields));
    description.bind(2, TableFile::describeIndexes(definitions.indexes));
    description.run();
    QStringList columns;
    QStringList marks;
    for (const FieldDef &f : definitions.fields) {
        columns << quoteIdentifier(f.name) + u' ' + TableFile::columnType(f.dataType);
        marks << QStringLiteral("?");
    }
    m_db->exec(QStringLiteral("CREATE TABLE records(%1)").arg(columns.join(QLatin1String(", "))));
    const QByteArray insert =
        QStringLiteral("INSERT INTO records VALUES(%1)").arg(marks.join(u',')).toUtf8();
    const int rc = sqlite3_prepare_v2(m_db->handle(), insert.constData(), int(insert.size()),
                                      &m_insert, nullptr);
    if (rc != SQLITE_OK)
        SqliteDatabase::raise(m_db->handle(), rc, m_context);
}

TableLoader::~TableLoader()
{
    sqlite3_finalize(m_insert);
    m_db.reset(); // before the temporary goes
}

void TableLoader::bindNull(int field)
{
    sqlite3_bind_null(m_insert, field + 1);
}

void TableLoader::bindInteger(int field, qint64 value)
{
    sqlite3_bind_int64(m_insert, field + 1, value);
}

void TableLoader::bindReal(int field, double value)
{
    sqlite3_bind_double(m_insert, field + 1, value);
}

void TableLoader::bindText(int field, QStringView text)
{
    const FieldDef &f = m_definitions.fields.at(field);
    if (f.dataType != ftMemo && f.dataType != ftFmtMemo && f.dataType != ftOraClob && f.size > 0 &&
        text.size() > f.size)
        text = text.left(f.size);
    sqlite3_bind_text16(m_insert, field + 1, text.utf16(), int(text.size() * 2), SQLITE_STATIC);
}

void TableLoader::bindTextUtf8(int field, QByteArrayView utf8)
{
    const FieldDef &f = m_definitions.fields.at(field);
    // Fewer bytes than the size are fewer characters too; only a longer text is counted.
    if (f.dataType != ftMemo && f.dataType != ftFmtMemo && f.dataType != ftOraClob && f.size > 0 &&
        utf8.size() > f.size) {
        qsizetype characters = 0;
        for (qsizetype i = 0; i < utf8.size(); ++i) {
            if ((quint8(utf8[i]) & 0xC0) != 0x80 && ++characters > f.size) {
                utf8 = utf8.first(i);
                break;
            }
        }
    }
    sqlite3_bind_text(m_insert, field + 1, utf8.data(), int(utf8.size()), SQLITE_STATIC);
}

void TableLoader::bindBytes(int field, QByteArrayView bytes)
{
    sqlite3_bind_blob(m_insert, field + 1, bytes.data(), int(bytes.size()), SQLITE_STATIC);
}

void TableLoader::append()
{
    const int rc = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    sqlite3_clear_bindings(m_insert);
    if (rc != SQLITE_DONE)
        SqliteDatabase::raise(m_db->handle(), rc, m_context);
    ++m_appended;
}

void TableLoader::finish()
{
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    for (int i = 0; i < m_definitions.indexes.size(); ++i) {
        try {
            m_db->exec(TableFile::indexSql(m_definitions.indexes[i], i, m_definitions.fields));
        } catch (const EngineError &error) {
            if (error.kind() != EngineError::KeyViolation)
                throw;
            const IndexDef &index = m_definitions.indexes[i];
            throw EngineError(EngineError::KeyViolation, m_context,
                              QStringLiteral("%1 %2 powtarza się w rekordach")
                                  .arg(index.name.isEmpty()
                                           ? QStringLiteral("klucz główny")
                                           : QStringLiteral("klucz indeksu ") + index.name,
                                       index.fields));
        }
    }
    m_db->exec(QStringLiteral("COMMIT"));
    m_db->close();
    const QString temporaryPath = m_temporary->path();
    if (!syncFile(temporaryPath))
        throw EngineError(EngineError::Io, m_context, systemErrorText(errno));
    switch (moveNoReplace(temporaryPath, m_path)) {
    case MoveResult::Done:
        break;
    case MoveResult::TargetExists:
        throw EngineError(EngineError::Locked, m_context, QStringLiteral("plik już istnieje"));
    case MoveResult::Failed:
        throw EngineError(
            EngineError::Io, m_context,
            QStringLiteral("nie można utworzyć tabeli: %1").arg(systemErrorText(errno)));
    }
    m_temporary->release();
}

} // namespace rawen
