// The table handle's name, session, opening and closing, and its definitions. The other
// concerns of Table have files of their own: TableField (the field accessor), TableBulk (the
// table as a whole), TableCursor (the current record and the window after it), TableEdit
// (editing and posting) and TableView (order, range, filter, master link and controls).

#include "data/Table.h"

#include "platform/AppContext.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "store/Store.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

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
    return m_session->store().resolve(pathAsNamed());
}

QString Table::pathAsNamed() const
{
    QString name = m_tableName;
    // A temporary of ours is named as it is: it becomes a table under its own name only when it
    // is moved into place.
    if (!name.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive) &&
        !isTemporaryName(QFileInfo(name).fileName()))
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
        return m_openName;
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
    try {
        m_session->store().openTable(
            pathAsNamed(), m_session->lockTimeout(), m_stored, [&](StoredTable &stored) {
                const TableDefinitions &definitions = stored.definitions();
                if (!m_indexName.isEmpty() && !hasIndex(definitions, m_indexName))
                    throw EngineError(
                        EngineError::NoSuchIndex,
                        QStringLiteral("%1: brak indeksu %2").arg(stored.name(), m_indexName));
                m_fieldDefs = definitions.fields;
                m_indexDefs = definitions.indexes;
                m_readOnly = stored.isReadOnly();
                m_openPath = stored.path();
                m_openName = stored.name();
                m_state = dsBrowse;
                m_wanted = QBitArray(m_fieldDefs.size());
                for (const QString &name : std::as_const(m_fetchedFields)) {
                    const int i = fieldIndex(name);
                    if (i >= 0)
                        m_wanted.setBit(i);
                }
                m_wantsAll = m_fetchedFields.isEmpty();
                m_askedFor = 0;
                m_session->attach(this);
                first();
            });
    } catch (...) {
        // A damaged file, an unknown index, a filter or range that cannot be read, or a lock:
        // the open failed, and a table that raised from open must not stay open.
        const bool wasOpened = m_state != dsInactive;
        m_stored.reset();
        forgetOpenState();
        if (wasOpened)
            notify();
        throw;
    }
}

QString Table::canonicalFileName() const
{
    return isOpen() ? m_stored->canonicalPath() : QString();
}

void Table::forgetOpenState()
{
    m_session->detach(this);
    m_state = dsInactive;
    clearCurrent();
    m_eof = true;
    m_ahead.clear();
    m_openPath.clear();
    m_openName.clear();
}

void Table::close()
{
    if (!isOpen())
        return;
    if (m_stored->inTransaction()) {
        try {
            m_stored->rollback();
        } catch (const EngineError &) {
            // closing below ends it anyway
        }
    }
    m_stored.reset();
    forgetOpenState();
    notify();
}

void Table::updateFieldDefs()
{
    m_fieldDefs =
        isOpen()
            ? m_stored->readDefinitions().fields
            : m_session->store().readDefinitions(resolvedPath(), m_session->lockTimeout()).fields;
}

void Table::updateIndexDefs()
{
    m_indexDefs =
        isOpen()
            ? m_stored->readDefinitions().indexes
            : m_session->store().readDefinitions(resolvedPath(), m_session->lockTimeout()).indexes;
}

} // namespace rawen
