#include "platform/Ustawienia.h"

#include <QDir>
#include <QSettings>

namespace rawen {

namespace {

QString &redirectFolder()
{
    static QString folder;
    return folder;
}

// Once the server store exists, its address goes under a key of its own beside this one.
const QString kKatalogDanych = QStringLiteral("Start/KatalogDanych");

} // namespace

Ustawienia::Ustawienia()
    : m_settings(redirectFolder().isEmpty()
                     ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                   QStringLiteral("RAWEN"), QStringLiteral("rawen"))
                     : std::make_unique<QSettings>(
                           QDir(redirectFolder()).filePath(QStringLiteral("rawen.ini")),
                           QSettings::IniFormat))
{}

Ustawienia::~Ustawienia() = default;

QString Ustawienia::katalogDanych() const
{
    return m_settings->value(kKatalogDanych).toString();
}

bool Ustawienia::zapamietajKatalogDanych(const QString &katalog)
{
    m_settings->setValue(kKatalogDanych, katalog);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString Ustawienia::polozenie() const
{
    return QDir::toNativeSeparators(m_settings->fileName());
}

void Ustawienia::redirectTo(const QString &folder)
{
    redirectFolder() = folder;
}

} // namespace rawen
