#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace rawen {

namespace {

const QString kPlik = QStringLiteral("qtbase_pl");

} // namespace

QString qtTranslationsFolder()
{
    const QString wbudowany = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (QFileInfo::exists(QDir(wbudowany).filePath(kPlik + QStringLiteral(".qm"))))
        return wbudowany;
    const QString obok =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"));
    if (QFileInfo::exists(QDir(obok).filePath(kPlik + QStringLiteral(".qm"))))
        return obok;
    return wbudowany;
}

bool installQtTranslations()
{
    // The program speaks Polish whatever the system's language; one translator for the run.
    static QTranslator tlumacz;
    if (tlumacz.isEmpty() && !tlumacz.load(kPlik, qtTranslationsFolder()))
        return false;
    QCoreApplication::installTranslator(&tlumacz);
    return true;
}

} // namespace rawen
