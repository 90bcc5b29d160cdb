#include "data/Table.h"

#include "data/EngineError.h"
#include "data/FieldValues.h"
#include "data/Sqlite.h"
#include "data/TableFile.h"
#include "data/TableInternal.h"
#include "platform/AppContext.h"
#include "platform/DurableFiles.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <numeric>
#include <sqlite3.h>

namespace rawen {

// ---- Table: name, opening, definitions ----

Table::Table(Session *session, QObject *parent)
    : QObject(parent), m_session(session ? session : &Session::defaultSession())
{}

Table::~Table()
{
    close();
}

void Table::setSession(Session *session)
{
    requireClosed("zmiana sesji");
    m_session = session ? session : &Session::defaultSession();
}

void Table::setTableName(const QString &name)
{
    requireClosed("zmiana nazwy");
    m_tableName = name;
}

QString Table::resolvedPath() const
{
    return resolveCaseInsensitive(pathAsNamed());
}

QString Table::pathAsNamed() const
{
    QString name = m_tableName;
    if (!name.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
        name += QLatin1String(".DB");
    if (QDir::isRelativePath(name)) {
        QString base = AppContext::current().currentDirectory;
        if (base.isEmpty())
            base = QDir::currentPath();
        name = QDir(base).filePath(name);
    }
    return name;
}

QString Table::fileName() const
{
    if (isOpen())
        return m_openPath;
    return m_tableName.isEmpty() ? QString() : resolvedPath();
}

QString Table::context() const
{
    if (isOpen())
        return QFileInfo(m_openPath).fileName();
    const QString path = fileName();
    return path.isEmpty() ? QStringLiteral("(tabela bez nazwy)") : QFileInfo(path).fileName();
}

void Table::fault(EngineOp op) const
{
    // Naming the file costs a look at the disk; only a test's hook needs it.
    if (m_session->hasFaultHook())
        m_session->checkFault(op, fileName());
}

void Table::requireOpen() const
{
    if (!isOpen())
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: tabela nie jest otwarta").arg(context()));
}

void Table::requireClosed(const char *operation) const
{
    if (isOpen())
        throw EngineError(EngineError::BadState, QStringLiteral("%1: %2 wymaga zamkniętej tabeli")
                                                     .arg(context(), QString::fromUtf8(operation)));
}

void Table::checkWritable() const
{
    if (m_readOnly)
        throw EngineError(EngineError::ReadOnly,
                          QStringLiteral("%1: tabela jest tylko do odczytu").arg(context()));
}

void Table::setActive(bool active)
{
    if (active)
        open();
    else
        close();
}

void Table::open()
{
    if (isOpen())
        return;
    if (m_tableName.isEmpty())
        throw EngineError(EngineError::Missing, QStringLiteral("Nie podano nazwy tabeli"));
    fault(EngineOp::Open);
    // Mostly the file is there as named: one look at it tells that and all opening needs.
    QString path = pathAsNamed();
    FileState file = fileState(path);
    if (!file.exists) {
        path = resolveCaseInsensitive(path);
        file = fileState(path);
    }
    m_db = std::make_unique<SqliteDatabase>();
    try {
        TableFile::open(*m_db, path, file, m_session->lockTimeout(),
                        [&](const TableFile::Definitions &definitions) {
                            if (!m_indexName.isEmpty() && !hasIndex(definitions, m_indexName))
                                throw EngineError(
                                    EngineError::NoSuchIndex,
                                    QStringLiteral("%1: brak indeksu %2")
                                        .arg(QFileInfo(path).fileName(), m_indexName));
                            m_fieldDefs = definitions.fields;
                            m_indexDefs = definitions.indexes;
                            m_readOnly = m_db->isReadOnly();
                            m_openPath = QFileInfo(path).absoluteFilePath();
                            m_state = dsBrowse;
                            m_wanted = QBitArray(m_fieldDefs.size());
                            for (const QString &name : std::as_const(m_fetchedFields)) {
                                const int i = fieldIndex(name);
                                if (i >= 0)
                                    m_wanted.setBit(i);
                            }
                            m_wantsAll = m_fetchedFields.isEmpty();
                            m_askedFor = 0;
                            m_columnsChecked = false;
                            m_session->attach(this);
                            first();
                        });
    } catch (...) {
        // A damaged file, an unknown index, a filter or range that cannot be read, or a lock:
        // the open failed, and a table that raised from open must not stay open.
        const bool wasOpened = m_state != dsInactive;
        m_statements.clear();
        m_db.reset();
        forgetOpenState();
        if (wasOpened)
            notify();
        throw;
    }
}

QString Table::canonicalFileName() const
{
    if (!isOpen())
        return {};
    const QString canonical = QFileInfo(m_openPath).canonicalFilePath();
    return canonical.isEmpty() ? m_openPath : canonical;
}

void Table::forgetOpenState()
{
    m_session->detach(this);
    m_state = dsInactive;
    clearCurrent();
    m_eof = true;
    m_ahead.clear();
    m_openPath.clear();
}

void Table::close()
{
    if (!isOpen())
        return;
    if (m_db->inTransaction()) {
        try {
            m_db->exec(QStringLiteral("ROLLBACK"));
        } catch (const EngineError &) {
            // closing below ends it anyway
        }
    }
    m_statements.clear();
    m_db.reset();
    forgetOpenState();
    notify();
}

// The definitions stored in the file: through the open connection, or read cold.
static TableFile::Definitions storedDefinitions(const SqliteDatabase *open, const QString &path,
                                                int lockTimeoutMs)
{
    if (open)
        return TableFile::read(*open);
    SqliteDatabase db;
    return TableFile::open(db, path, lockTimeoutMs);
}

void Table::updateFieldDefs()
{
    m_fieldDefs = storedDefinitions(m_db.get(), isOpen() ? QString() : resolvedPath(),
                                    m_session->lockTimeout())
                      .fields;
}

void Table::updateIndexDefs()
{
    m_indexDefs = storedDefinitions(m_db.get(), isOpen() ? QString() : resolvedPath(),
                                    m_session->lockTimeout())
                      .indexes;
}

// ---- Cursor ----

const IndexDef *Table::currentIndex() const
{
    for (const IndexDef &ix : m_indexDefs) {
        if (m_indexName.isEmpty() ? bool(ix.options & ixPrimary)
                                  : ix.name.compare(m_indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    }
    return nullptr;
}

QList<Table::OrderColumn> Table::orderColumns() const
{
    QList<OrderColumn> columns;
    const IndexDef *ix = currentIndex();
    if (!ix)
        return columns;
    for (const QString &name : indexFieldNames(*ix)) {
        const int i = fieldIndex(name);
        if (i >= 0)
            columns << OrderColumn{i, (ix->options & ixCaseInsensitive) &&
                                          isTextType(m_fieldDefs[i].dataType)};
    }
    return columns;
}

QString Table::columnSql(const OrderColumn &column) const
{
    return quoteIdentifier(m_fieldDefs[column.field].name) +
           (column.noCase ? QStringLiteral(" COLLATE NOCASE") : QString());
}

Table::Condition Table::viewCondition() const
{
    QStringList parts;
    QVariantList parameters;
    if (m_filtered && !m_filter.trimmed().isEmpty())
        parts << u'(' + m_filter + u')';
    const QList<OrderColumn> order = orderColumns();
    // The key against a bound in the index order, where an empty value sorts first; SQL's own
    // comparisons would leave out every record with an empty key field. The key is at or past
    // (`lower`) or at or before the bound when, for some k, its first k fields equal the bound's
    // and field k lies beyond it, or all bound fields are equal.
    auto bound = [&](const QVariantList &values, bool lower) {
        const qsizetype n = qMin(values.size(), order.size());
        if (n == 0)
            return;
        QVariantList key;
        for (qsizetype i = 0; i < n; ++i)
            key << convertForField(order[i].field, values[i]);
        QStringList alternatives;
        for (qsizetype k = 0; k <= n; ++k) {
            QStringList terms;
            QVariantList termParameters;
            for (qsizetype j = 0; j < k; ++j) {
                terms << columnSql(order[j]) + QLatin1String(" IS ?");
                termParameters << key[j];
            }
            if (k < n) {
                const QString column = columnSql(order[k]);
                const QString bare = quoteIdentifier(m_fieldDefs[order[k].field].name);
                if (lower && !key[k].isValid()) {
                    terms << bare + QLatin1String(" IS NOT NULL");
                } else if (lower) {
                    terms << column + QLatin1String(" > ?");
                    termParameters << key[k];
                } else if (!key[k].isValid()) {
                    continue; // nothing sorts before an empty value
                } else {
                    terms << QStringLiteral("(%1 < ? OR %2 IS NULL)").arg(column, bare);
                    termParameters << key[k];
                }
            }
            alternatives << u'(' + terms.join(QLatin1String(" AND ")) + u')';
            parameters << termParameters;
        }
        parts << u'(' + alternatives.join(QLatin1String(" OR ")) + u')';
        // Redundant, but a plain comparison lets SQLite seek in the index to the range's start.
        if (lower && key[0].isValid()) {
            parts << columnSql(order[0]) + QLatin1String(" >= ?");
            parameters << key[0];
        }
    };
    if (m_rangeSet) {
        bound(m_rangeStart, true);
        bound(m_rangeEnd, false);
    }
    if (m_master) {
        const QStringList names = m_masterFields.split(u';', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < qMin(names.size(), order.size()); ++i) {
            parts << columnSql(order[i]) + QLatin1String(" IS ?");
            const Field masterField = m_master->findField(names[i]);
            parameters << convertForField(
                order[i].field,
                masterField.isValid() && m_master->isOpen() ? masterField.value() : QVariant());
        }
    }
    return {parts.join(QLatin1String(" AND ")), parameters};
}

QVariant Table::convertForField(int index, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return {};
    const FieldDef &f = m_fieldDefs[index];
    switch (value.typeId()) {
    case QMetaType::QString:
        return FieldValues::fromText(f, value.toString(), context());
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldValues::fromFloat(f, value.toDouble(), context());
    case QMetaType::QByteArray:
        return FieldValues::fromBytes(f, value.toByteArray(), context());
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return FieldValues::fromText(f, FieldValues::textOf(value), context());
    default:
        return FieldValues::fromInteger(f, value.toLongLong(), context());
    }
}

void Table::notify()
{
    if (m_disableCount > 0) {
        m_changedWhileDisabled = true;
        return;
    }
    emit dataChanged();
}

// ---- Order and view ----

void Table::setIndexName(const QString &name)
{
    if (!name.isEmpty() && isOpen()) {
        bool found = false;
        for (const IndexDef &ix : m_indexDefs)
            found = found || ix.name.compare(name, Qt::CaseInsensitive) == 0;
        if (!found)
            throw EngineError(EngineError::NoSuchIndex,
                              QStringLiteral("%1: brak indeksu %2").arg(context(), name));
    }
    if (isOpen())
        checkBrowseMode();
    m_indexName = name;
    m_rangeSet = false;
    if (isOpen())
        first();
}

void Table::setRange(const QVariantList &start, const QVariantList &end)
{
    if (isOpen())
        checkBrowseMode();
    m_rangeStart = start;
    m_rangeEnd = end;
    m_rangeSet = true;
    if (isOpen())
        first();
}

void Table::cancelRange()
{
    if (!m_rangeSet)
        return;
    if (isOpen())
        checkBrowseMode();
    m_rangeSet = false;
    m_rangeStart.clear();
    m_rangeEnd.clear();
    if (isOpen())
        first();
}

void Table::setFilter(const QString &condition)
{
    if (isOpen())
        checkBrowseMode();
    m_filter = condition;
    if (isOpen() && m_filtered)
        first();
}

void Table::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (isOpen())
        checkBrowseMode();
    m_filtered = filtered;
    if (isOpen())
        first();
}

void Table::setMasterSource(Table *master, const QString &masterFields)
{
    if (isOpen())
        checkBrowseMode();
    if (m_masterConnection)
        disconnect(m_masterConnection);
    m_master = master;
    m_masterFields = master ? masterFields : QString();
    if (master)
        m_masterConnection = connect(master, &Table::dataChanged, this, &Table::onMasterChanged);
    if (isOpen())
        first();
}

void Table::onMasterChanged()
{
    if (!isOpen() || m_state != dsBrowse)
        return;
    try {
        first();
    } catch (const EngineError &) {
        // A signal cannot carry the error; the detail keeps its records until it is read again.
    }
}

void Table::disableControls()
{
    ++m_disableCount;
}

void Table::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        emit dataChanged();
    }
}

} // namespace rawen
