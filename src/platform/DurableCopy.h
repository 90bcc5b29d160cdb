#pragma once

#include <QString>

#include <functional>

namespace rawen {

// A byte copy of a file into a new file that lands whole or not at all: the bytes go into a
// hidden temporary beside the target, are synced, and the temporary takes the target's name
// only if that name is still free.
//
// The source is opened by the constructor and closed by the destructor. That split is the point:
// on POSIX, closing any descriptor of a file drops every lock the process holds on it, so a
// caller that holds a database lock on the source while copying must end that lock before this
// object goes away. A file that other connections of this process may hold locks on at any time
// (an SQLite database) is therefore read through a Reader over the descriptor SQLite already has.
class DurableCopy
{
public:
    // Fills `data` with `length` bytes of the source from `offset`; false when it cannot.
    using Reader = std::function<bool(char *data, qint64 length, qint64 offset)>;

    explicit DurableCopy(const QString &source); // throws EngineError(Io) when it cannot open
    // A source of `size` bytes read through `reader`; no descriptor is opened.
    DurableCopy(qint64 size, Reader reader);
    ~DurableCopy();
    DurableCopy(const DurableCopy &) = delete;
    DurableCopy &operator=(const DurableCopy &) = delete;

    // Throws EngineError: Io when copying fails (nothing is left behind), Locked when the target
    // name is taken (it stays as it was).
    void copyTo(const QString &target);

private:
    bool copyInto(int out) const;

    QString m_source;
    int m_fd = -1;
    qint64 m_size = 0;
    Reader m_reader;
};

} // namespace rawen
