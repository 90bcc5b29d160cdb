#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <utility>

class QSettings;

namespace rawen {

// The key "SOFTWARE\QV\<name>" of HKEY_LOCAL_MACHINE, where the program keeps its machine-wide
// settings as 32-bit integer values. On Windows it is the registry key itself; elsewhere an INI
// file "QV/<name>.ini" with the same value names, in the system-wide configuration folder when
// that one is writable (root), else in the user's, which then falls back to the system-wide file
// for the values it does not hold.
class Registry
{
public:
    enum class Status { Ok, Missing, NotInteger };

    struct Integer
    {
        Status status = Status::Missing;
        qint32 value = 0;
    };

    explicit Registry(const QString &name);
    ~Registry();
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    // True when the key is there, even without values. In the Windows registry an empty key
    // cannot be told from a missing one and reads as missing.
    bool keyExists() const;

    // A value is an integer when it is stored as one or as decimal text; text of an unsigned
    // 32-bit value reads with the same bits, as a REG_DWORD does.
    Integer readInteger(const QString &valueName) const;

    // A text value; empty when it is missing or holds something else than text.
    QString readText(const QString &valueName) const;

    // Writes all values, creating the key if need be. Nothing is written and false returned when
    // the key cannot be opened for writing.
    [[nodiscard]] bool writeIntegers(const QList<std::pair<QString, qint32>> &values);

    // Where the key lives, for messages and logs.
    QString location() const;

    // Tests keep every key as "<folder>/<name>.ini"; an empty folder goes back to the real place.
    static void redirectTo(const QString &folder);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace rawen
