// Operations on the table as a whole: creating, deleting, replacing and copying it, rebuilding it
// for new definitions, changing all records in one step, transactions and flushing. The handle
// checks its own state and the session's open tables; the store does the work.

#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/Store.h"

namespace rawen {

void Table::createTable()
{
    create(true);
}

void Table::createTableNew()
{
    create(false);
}

void Table::create(bool replace)
{
    requireClosed("tworzenie");
    fault(EngineOp::Create);
    const QString path = resolvedPath();
    Store &store = m_session->store();
    if (replace)
        refuseIfOpen(path);
    else if (store.exists(path))
        throw EngineError(EngineError::Locked,
                          QStringLiteral("%1: plik już istnieje").arg(context()));
    store.createTable(path, {m_fieldDefs, m_indexDefs}, replace);
}

void Table::refuseIfOpen(const QString &path) const
{
    if (Session::isFileOpen(m_session->store().canonicalPath(path)))
        throw EngineError(EngineError::Locked,
                          QStringLiteral("%1: tabela jest otwarta").arg(context()));
}

void Table::deleteTable()
{
    requireClosed("usuwanie");
    fault(EngineOp::Delete);
    const QString path = resolvedPath();
    refuseIfOpen(path);
    m_session->store().deleteTable(path);
}

void Table::replaceTable(const QString &targetPath)
{
    requireClosed("zastępowanie");
    fault(EngineOp::Replace);
    Store &store = m_session->store();
    const QString from = resolvedPath();
    QString to = targetPath;
    if (!to.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
        to += QLatin1String(".DB");
    to = store.resolve(to);
    refuseIfOpen(from);
    refuseIfOpen(to);
    store.replaceTable(from, to);
    m_tableName = to;
}

void Table::copyTo(const QString &targetPath, const FileFinisher &finish)
{
    requireOpen();
    fault(EngineOp::Copy);
    m_stored->copyTo(targetPath, finish);
}

void Table::clearRequiredFlags()
{
    requireOpen();
    checkWritable();
    bool any = false;
    for (const FieldDef &f : m_fieldDefs)
        any = any || f.required;
    if (!any)
        return;
    m_stored->clearRequiredFlags();
    for (FieldDef &f : m_fieldDefs)
        f.required = false;
}

bool Table::restructure(const QList<FieldDef> &fields, const QList<IndexDef> &indexes,
                        const RecordMapper &map, const RecordDescriber &describe)
{
    requireOpen();
    checkBrowseMode();
    checkWritable();
    const bool done = m_stored->restructure({m_fieldDefs, m_indexDefs}, {fields, indexes}, map,
                                            describe, [this](EngineOp op) { fault(op); });
    // Open anew: the description, the statements and the window belong to the old layout.
    close();
    if (done && !m_indexName.isEmpty() && !hasIndex({fields, indexes}, m_indexName))
        m_indexName.clear();
    open();
    return done;
}

void Table::emptyFields(const QStringList &fieldNames)
{
    requireOpen();
    checkBrowseMode();
    QList<int> indexes;
    for (const QString &name : fieldNames) {
        const int i = fieldByName(name).index();
        if (m_fieldDefs[i].required)
            throw EngineError(EngineError::RequiredMissing,
                              QStringLiteral("%1: pole %2 musi mieć wartość")
                                  .arg(context(), m_fieldDefs[i].name));
        if (!indexes.contains(i))
            indexes << i;
    }
    if (indexes.isEmpty())
        return;
    checkWritable();
    fault(EngineOp::EmptyFields);
    m_stored->emptyFields(indexes);
    m_ahead.clear();
    m_aheadComplete = false;
    reloadCurrent();
    notify();
}

void Table::batchAppend(Table &source)
{
    requireOpen();
    source.requireOpen();
    if (&source == this)
        throw EngineError(
            EngineError::BadState,
            QStringLiteral("%1: tabela nie może być dopisana do siebie").arg(context()));
    checkBrowseMode();
    checkWritable();
    fault(EngineOp::Append);
    QStringList fields;
    for (const FieldDef &f : m_fieldDefs) {
        if (source.fieldIndex(f.name) >= 0)
            fields << f.name;
    }
    if (fields.isEmpty())
        return;
    m_stored->appendFrom(*source.m_stored, fields);
    m_ahead.clear();
    m_aheadComplete = false;
    if (m_hasRecord)
        reloadCurrent();
    else
        first();
}

void Table::startTransaction()
{
    requireOpen();
    checkBrowseMode();
    m_stored->begin();
}

void Table::commit()
{
    requireOpen();
    checkBrowseMode();
    m_stored->commit();
}

void Table::rollback()
{
    requireOpen();
    if (m_state == dsEdit || m_state == dsInsert)
        cancel();
    m_stored->rollback();
    // A record added in the transaction is gone; its rowid may even be reused later.
    rereadFromCurrent();
}

bool Table::inTransaction() const
{
    return isOpen() && m_stored->inTransaction();
}

void Table::flushBuffers()
{
    requireOpen();
    fault(EngineOp::Flush);
    m_stored->flush();
}

void Table::writeUnjournaled()
{
    requireOpen();
    checkWritable();
    m_stored->writeUnjournaled();
}

} // namespace rawen
