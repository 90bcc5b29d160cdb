#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

#include <limits>

namespace rawen {

namespace {

QString &redirectFolder()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QSettings> openKey(const QString &name)
{
    if (!redirectFolder().isEmpty()) {
        return std::make_unique<QSettings>(
            QDir(redirectFolder()).filePath(name + QStringLiteral(".ini")), QSettings::IniFormat);
    }
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\QV\\") + name,
                                       QSettings::NativeFormat);
#else
    // Asking whether the system-wide file is writable creates its folder when it can, which is
    // where the file goes anyway.
    const QString organization = QStringLiteral("QV");
    auto system = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::SystemScope,
                                              organization, name);
    if (system->isWritable())
        return system;
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organization,
                                       name);
#endif
}

// Decimal text of a signed or unsigned 32-bit value; the unsigned ones keep their bits.
bool parseInteger(const QString &text, qint32 &value)
{
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > qlonglong(std::numeric_limits<quint32>::max()))
        return false;
    value = qint32(quint32(number));
    return true;
}

} // namespace

Registry::Registry(const QString &name) : m_settings(openKey(name))
{}

Registry::~Registry() = default;

bool Registry::keyExists() const
{
    if (m_settings->format() == QSettings::IniFormat && QFileInfo::exists(m_settings->fileName()))
        return true;
    return !m_settings->allKeys().isEmpty();
}

Registry::Integer Registry::readInteger(const QString &valueName) const
{
    const QVariant stored = m_settings->value(valueName);
    if (!stored.isValid())
        return {Status::Missing, 0};
    Integer result{Status::Ok, 0};
    switch (stored.typeId()) {
    case QMetaType::Int:
        result.value = stored.toInt();
        return result;
    case QMetaType::UInt:
        result.value = qint32(stored.toUInt());
        return result;
    case QMetaType::QString:
        if (parseInteger(stored.toString(), result.value))
            return result;
        break;
    default:
        // Binary data, a 64-bit value, or INI text with commas, which reads as a list.
        if (stored.canConvert<QString>() && parseInteger(stored.toString(), result.value))
            return result;
        break;
    }
    return {Status::NotInteger, 0};
}

QString Registry::readText(const QString &valueName) const
{
    const QVariant stored = m_settings->value(valueName);
    return stored.typeId() == QMetaType::QString ? stored.toString() : QString();
}

bool Registry::writeIntegers(const QList<std::pair<QString, qint32>> &values)
{
    if (!m_settings->isWritable())
        return false;
    for (const auto &[name, value] : values)
        m_settings->setValue(name, value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString Registry::location() const
{
    return m_settings->fileName();
}

void Registry::redirectTo(const QString &folder)
{
    redirectFolder() = folder;
}

} // namespace rawen
