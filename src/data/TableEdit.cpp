// Editing: a new or changed record is kept in the current record's buffer until it is posted
// (checked, then written in one statement) or cancelled.

#include "data/Table.h"
#include "platform/EngineError.h"

namespace rawen {

void Table::checkBrowseMode()
{
    if (m_state == dsEdit || m_state == dsInsert)
        post();
}

void Table::append()
{
    requireOpen();
    checkBrowseMode();
    checkWritable();
    fault(EngineOp::Append);
    m_saved = m_buffer;
    m_savedMissing = m_missing;
    m_savedRowid = m_rowid;
    m_savedHasRecord = m_hasRecord;
    m_buffer = QVector<QVariant>(m_fieldDefs.size());
    m_missing.clear();
    // A detail record starts with its link to the master filled in.
    if (m_master && m_master->isOpen()) {
        const QList<OrderField> order = orderColumns();
        const QStringList names = m_masterFields.split(u';', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < qMin(names.size(), order.size()); ++i) {
            const Field masterField = m_master->findField(names[i]);
            if (masterField.isValid())
                m_buffer[order[i].field] = convertForField(order[i].field, masterField.value());
        }
    }
    m_state = dsInsert;
    notify();
}

void Table::edit()
{
    requireOpen();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (!m_hasRecord) {
        append();
        return;
    }
    checkWritable();
    fault(EngineOp::Edit);
    // Posting writes every field.
    loadMissing(-1);
    m_saved = m_buffer;
    m_savedMissing.clear();
    m_state = dsEdit;
    notify();
}

void Table::post()
{
    requireOpen();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    fault(EngineOp::Post);
    checkWritable();
    if (!m_missing.isEmpty())
        throw EngineError(
            EngineError::BadState,
            QStringLiteral("%1: rekord nie został odczytany w całości").arg(context()));
    for (int i = 0; i < m_fieldDefs.size(); ++i) {
        if (m_fieldDefs[i].required && !m_buffer[i].isValid())
            throw EngineError(EngineError::RequiredMissing,
                              QStringLiteral("%1: pole %2 musi mieć wartość")
                                  .arg(context(), m_fieldDefs[i].name));
    }
    if (m_state == dsInsert) {
        m_rowid = m_stored->insert(m_buffer);
        m_hasRecord = true;
    } else if (!m_stored->update(m_rowid, m_buffer)) {
        // Another program may have deleted the record since it was read: then nothing was
        // written, and the edit stays open to be given up.
        throw EngineError(
            EngineError::BadState,
            QStringLiteral("%1: rekord został usunięty przez inny program").arg(context()));
    }
    m_state = dsBrowse;
    m_eof = false;
    m_ahead.clear();
    m_aheadComplete = false;
    reloadCurrent();
    notify();
}

void Table::cancel()
{
    if (m_state == dsEdit) {
        m_buffer = m_saved;
    } else if (m_state == dsInsert) {
        m_buffer = m_saved;
        m_missing = m_savedMissing;
        m_rowid = m_savedRowid;
        m_hasRecord = m_savedHasRecord;
    } else {
        return;
    }
    m_state = dsBrowse;
    notify();
}

void Table::setValue(int index, const QVariant &storageValue)
{
    requireOpen();
    if (m_state != dsEdit && m_state != dsInsert)
        throw EngineError(EngineError::BadState,
                          QStringLiteral("%1: tabela nie jest w trybie edycji").arg(context()));
    fault(EngineOp::Write);
    m_buffer[index] = storageValue;
    if (isMissing(index))
        m_missing.clearBit(index);
    notify();
}

} // namespace rawen
