#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace rawen {

// What reading a table of the previous generation raises: a Polish message that names the table
// file and what is wrong with it, shown to the user as it is.
class BladParadox : public std::exception
{
public:
    explicit BladParadox(const QString &komunikat)
        : m_komunikat(komunikat), m_utf8(komunikat.toUtf8())
    {}
    BladParadox(const QString &tabela, const QString &przyczyna)
        : BladParadox(QStringLiteral("%1: %2").arg(tabela, przyczyna))
    {}

    QString komunikat() const { return m_komunikat; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_komunikat;
    QByteArray m_utf8;
};

} // namespace rawen
