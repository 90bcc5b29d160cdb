#pragma once

#include <QString>

namespace rawen {

// A byte copy of a file into a new file that lands whole or not at all: the bytes go into a
// hidden temporary beside the target, are synced, and the temporary takes the target's name
// only if that name is still free.
//
// The source is opened by the constructor and closed by the destructor. That split is the point:
// on POSIX, closing any descriptor of a file drops every lock the process holds on it, so a
// caller that holds a database lock on the source while copying must end that lock before this
// object goes away.
class DurableCopy
{
public:
    explicit DurableCopy(const QString &source); // throws EngineError(Io) when it cannot open
    ~DurableCopy();
    DurableCopy(const DurableCopy &) = delete;
    DurableCopy &operator=(const DurableCopy &) = delete;

    // Throws EngineError: Io when copying fails (nothing is left behind), Locked when the target
    // name is taken (it stays as it was).
    void copyTo(const QString &target);

private:
    QString m_source;
    int m_fd = -1;
};

} // namespace rawen
