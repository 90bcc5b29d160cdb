#include "data/Session.h"

#include "data/Table.h"
#include "store/Store.h"

namespace rawen {

namespace {

QList<Session *> &sessions()
{
    static QList<Session *> all;
    return all;
}

} // namespace

Session::Session(const QString &name) : m_name(name)
{
    sessions().append(this);
}

Session::~Session()
{
    setActive(false);
    sessions().removeAll(this);
}

Session &Session::defaultSession()
{
    static Session session(QStringLiteral("Default"));
    return session;
}

Store &Session::store() const
{
    return m_store ? *m_store : Store::current();
}

void Session::addPassword(const QString &password)
{
    if (!m_passwords.contains(password))
        m_passwords.append(password);
}

void Session::setActive(bool active)
{
    if (!active) {
        // Closing detaches, so work on a copy.
        const QList<Table *> open = m_open;
        for (Table *table : open)
            table->close();
    }
    m_active = active;
}

void Session::checkFault(EngineOp op, const QString &filePath) const
{
    if (m_faultHook)
        m_faultHook(op, filePath);
}

void Session::attach(Table *table)
{
    if (!m_open.contains(table))
        m_open.append(table);
    m_active = true;
}

void Session::detach(Table *table)
{
    m_open.removeAll(table);
}

bool Session::isFileOpen(const QString &canonicalPath, const Table *except)
{
    for (const Session *session : sessions()) {
        for (const Table *table : session->m_open) {
            if (table != except && table->canonicalFileName() == canonicalPath)
                return true;
        }
    }
    return false;
}

} // namespace rawen
