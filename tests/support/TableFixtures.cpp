#include "support/TableFixtures.h"

#include "platform/EngineError.h"

#include <QDir>
#include <QFile>

namespace rawen::test {

void makeTable(const QString &path, const QList<FieldDef> &fields, const QList<IndexDef> &indexes,
               const QList<QStringList> &records, Session *session)
{
    Table table(session);
    table.setTableName(path);
    table.fieldDefs() = fields;
    table.indexDefs() = indexes;
    table.createTable();
    if (records.isEmpty())
        return;
    table.open();
    table.startTransaction();
    for (const QStringList &record : records) {
        table.append();
        for (int i = 0; i < record.size() && i < table.fieldCount(); ++i)
            table.field(i).setAsString(record[i]);
        table.post();
    }
    table.commit();
    table.close();
}

QList<QStringList> readAll(Table &table)
{
    QList<QStringList> rows;
    for (table.first(); !table.eof(); table.next()) {
        QStringList row;
        for (int i = 0; i < table.fieldCount(); ++i)
            row << table.field(i).asString();
        rows << row;
    }
    return rows;
}

std::optional<EngineError::Kind> errorKind(const std::function<void()> &action)
{
    try {
        action();
    } catch (const EngineError &error) {
        return error.kind();
    }
    return std::nullopt;
}

QStringList directoryEntries(const QString &directory)
{
    return QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FaultPlan::FaultPlan(Session &session, EngineOp op, int nth, const QString &fileFilter)
    : m_session(session), m_seen(std::make_shared<int>(0)), m_fired(std::make_shared<bool>(false))
{
    auto seen = m_seen;
    auto fired = m_fired;
    session.setFaultHook([=](EngineOp happening, const QString &file) {
        if (happening != op || (!fileFilter.isEmpty() && !file.contains(fileFilter)))
            return;
        if (++*seen == nth) {
            *fired = true;
            throw EngineError(EngineError::Injected, QStringLiteral("wstrzyknięty błąd"));
        }
    });
}

FaultPlan::~FaultPlan()
{
    m_session.setFaultHook({});
}

} // namespace rawen::test
