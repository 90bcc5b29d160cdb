#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace rawen {

// A value outside the range a control accepts. It is not caught where it arises: it reaches the
// application's top-level handler, which shows its message in an error box.
class BladWartosci : public std::exception
{
public:
    explicit BladWartosci(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}

    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace rawen
