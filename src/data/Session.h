#pragma once

#include "store/EngineOp.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace rawen {

class Store;
class Table;

// A database session: the tables opened in it and the passwords registered with it. Making it
// inactive closes every table in it; opening a table makes it active again.
//
// Table files are not encrypted: a password registered here is kept so that code asking for
// protected tables finds it, and no table asks for one.
class Session
{
public:
    explicit Session(const QString &name);
    ~Session(); // closes the tables still open in it
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // The session of tables that name none.
    static Session &defaultSession();

    QString name() const { return m_name; }

    void addPassword(const QString &password);
    QStringList passwords() const { return m_passwords; }

    bool isActive() const { return m_active; }
    void setActive(bool active);
    QList<Table *> openTables() const { return m_open; }

    // Where the session's tables are: the store given, else the store of the run
    // (Store::current()).
    Store &store() const;
    void setStore(Store *store) { m_store = store; }

    // How long an open or a write waits for another program's lock before it gives up.
    int lockTimeout() const { return m_lockTimeoutMs; }
    void setLockTimeout(int milliseconds) { m_lockTimeoutMs = milliseconds; }

    // Test seam: called before each operation on a table file of this session; it fails the
    // operation by throwing (EngineError(Injected) is the usual choice).
    using FaultHook = std::function<void(EngineOp, const QString &filePath)>;
    void setFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }
    void checkFault(EngineOp op, const QString &filePath) const;
    bool hasFaultHook() const { return bool(m_faultHook); }

    // For Table: every open handle registers itself while it is open.
    void attach(Table *table);
    void detach(Table *table);

    // True when some table handle of any session has this file open.
    static bool isFileOpen(const QString &canonicalPath, const Table *except = nullptr);

private:
    QString m_name;
    QStringList m_passwords;
    bool m_active = true;
    int m_lockTimeoutMs = 2000;
    QList<Table *> m_open;
    FaultHook m_faultHook;
    Store *m_store = nullptr;
};

} // namespace rawen
