#include "store/TableReader.h"

#include "platform/EngineError.h"
#include "store/Sqlite.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace rawen {

TableReader::TableReader(const QString &path)
    : m_context(QFileInfo(path).fileName()), m_db(std::make_unique<SqliteDatabase>())
{
    m_definitions = TableFile::open(*m_db, path, 0);
    QStringList columns;
    for (const FieldDef &f : m_definitions.fields)
        columns << quoteIdentifier(f.name);
    const QByteArray sql =
        QStringLiteral("SELECT %1 FROM records ORDER BY rowid").arg(columns.join(u',')).toUtf8();
    const int rc =
        sqlite3_prepare_v2(m_db->handle(), sql.constData(), int(sql.size()), &m_select, nullptr);
    if (rc != SQLITE_OK)
        SqliteDatabase::raise(m_db->handle(), rc, m_context);
}

TableReader::~TableReader()
{
    sqlite3_finalize(m_select);
}

bool TableReader::next()
{
    const int rc = sqlite3_step(m_select);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        SqliteDatabase::raise(m_db->handle(), rc, m_context);
    return false;
}

TableReader::Kind TableReader::kind(int field) const
{
    switch (sqlite3_column_type(m_select, field)) {
    case SQLITE_INTEGER:
        return Kind::Integer;
    case SQLITE_FLOAT:
        return Kind::Real;
    case SQLITE_TEXT:
        return Kind::Text;
    case SQLITE_BLOB:
        return Kind::Bytes;
    default:
        return Kind::Null;
    }
}

qint64 TableReader::integer(int field) const
{
    return sqlite3_column_int64(m_select, field);
}

double TableReader::real(int field) const
{
    return sqlite3_column_double(m_select, field);
}

QStringView TableReader::text(int field) const
{
    const auto *data = static_cast<const char16_t *>(sqlite3_column_text16(m_select, field));
    const int bytes = sqlite3_column_bytes16(m_select, field);
    return QStringView(data, bytes / 2);
}

QByteArrayView TableReader::utf8(int field) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_select, field));
    return QByteArrayView(data, sqlite3_column_bytes(m_select, field));
}

QByteArrayView TableReader::bytes(int field) const
{
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_select, field));
    return QByteArrayView(data, sqlite3_column_bytes(m_select, field));
}

} // namespace rawen
