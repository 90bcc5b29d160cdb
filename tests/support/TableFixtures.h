#pragma once

#include "data/Session.h"
#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/FieldDefs.h"
#include "support/QtPrinting.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace rawen::test {

// Builds a table file at `path` (".DB" added when missing) with the given definitions and
// records; each record is a list of texts in field order, "" for empty.
void makeTable(const QString &path, const QList<FieldDef> &fields,
               const QList<IndexDef> &indexes = {}, const QList<QStringList> &records = {},
               Session *session = nullptr);

// Every record of an open table from the first, as texts in field order.
QList<QStringList> readAll(Table &table);

// The kind of EngineError `action` raises; nullopt when it raises none.
std::optional<EngineError::Kind> errorKind(const std::function<void()> &action);

// Every entry of `directory`, hidden ones included, sorted by name.
QStringList directoryEntries(const QString &directory);

// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// A session whose fault hook throws EngineError(Injected) on the chosen operation: on its
// `nth` occurrence (1-based), optionally only for files whose name contains `fileFilter`.
class FaultPlan
{
public:
    FaultPlan(Session &session, EngineOp op, int nth = 1, const QString &fileFilter = {});
    ~FaultPlan();
    int seen() const { return *m_seen; }
    bool fired() const { return *m_fired; }

private:
    Session &m_session;
    std::shared_ptr<int> m_seen;
    std::shared_ptr<bool> m_fired;
};

} // namespace rawen::test
