#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace rawen {

// What the storage layers raise: the durable-file layer here, and above it the store and the table
// engine. It lives with the lowest of them, so that no layer reaches up for its error type.
// Callers catch it where they stand and report in their own words; the message names the table
// (or file) and the cause for the rare place that shows it whole.
class EngineError : public std::exception
{
public:
    enum Kind {
        Missing,         // no such table file
        Damaged,         // not a table file of this program, truncated or corrupt
        Locked,          // another program holds the table, or it is open here already
        ReadOnly,        // the file cannot be written
        KeyViolation,    // a unique index already holds the key
        RequiredMissing, // a required field is empty
        NoSuchField,
        NoSuchIndex,
        BadValue,      // a text that is not a value of the field's type, or a bad definition
        BadState,      // an operation the table's state does not allow
        Io,            // the file system refused
        Injected,      // a failure put in by a test
        NoAccess,      // the file is there, but this user may not read (or write) it
        PathTooLong,   // the path is longer than the storage engine accepts
        NeedsRecovery, // a read-only file whose last write was cut short: it opens once it may
                       // be written, so that the unfinished write can be rolled back
    };

    EngineError(Kind kind, const QString &message);
    // The message is "context: cause"; cause() gives the cause alone.
    EngineError(Kind kind, const QString &context, const QString &cause);

    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }
    // What went wrong, without the table it happened to; the whole message when not told apart.
    QString cause() const { return m_cause; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    Kind m_kind;
    QString m_message;
    QString m_cause;
    QByteArray m_utf8;
};

} // namespace rawen
