#include "print/CelWydruku.h"

#include "archive/PlikiBazy.h"
#include "platform/AppContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace rawen {

namespace {

// The path as the disk has it, links of the part that exists followed.
QString naDysku(const QString &sciezka)
{
    QString reszta;
    QString istniejaca = QDir::cleanPath(QDir(sciezka).absolutePath());
    while (!QFileInfo::exists(istniejaca)) {
        const QFileInfo info(istniejaca);
        if (info.path() == istniejaca)
            break;
        reszta = reszta.isEmpty() ? info.fileName() : info.fileName() + u'/' + reszta;
        istniejaca = info.path();
    }
    QString kanoniczna = QFileInfo(istniejaca).canonicalFilePath();
    if (kanoniczna.isEmpty())
        kanoniczna = istniejaca;
    if (reszta.isEmpty())
        return kanoniczna;
    return kanoniczna.endsWith(u'/') ? kanoniczna + reszta : kanoniczna + u'/' + reszta;
}

// SQLite's mark at the start of every database file.
bool bazaDanych(const QString &sciezka)
{
    const QFileInfo info(sciezka);
    if (!info.isFile())
        return false;
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly))
        return false;
    return plik.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

// A name the walks of the data take for a table's file, in any case.
bool nazwaPlikuBazy(const QString &nazwa)
{
    const QString duze = nazwa.toUpper();
    return JestPlikiemBazy(duze) || duze.endsWith(QLatin1String("DB"));
}

} // namespace

QString BladPlikuWydruku(const QString &plik, const QStringList &katalogiDanych)
{
    if (bazaDanych(plik))
        return QStringLiteral("plik jest bazą danych (tabelą); wydruk zastąpiłby jej zawartość");
    if (!nazwaPlikuBazy(QFileInfo(plik).fileName()))
        return QString();
    const QString sciezka = naDysku(plik);
    for (const QString &katalog : katalogiDanych) {
        if (katalog.trimmed().isEmpty())
            continue;
        const QString dane = naDysku(katalog);
        const QString przedrostek = dane.endsWith(u'/') ? dane : dane + u'/';
        if (sciezka.startsWith(przedrostek, Qt::CaseInsensitive))
            return QStringLiteral("nazwa pliku bazy danych w katalogu danych (%1) – plik zostałby "
                                  "wzięty za tabelę")
                .arg(QDir::toNativeSeparators(dane));
    }
    return QString();
}

QStringList KatalogiDanychWydruku(const QString &katalogDanych)
{
    QStringList katalogi{AppContext::current().dataRoot()};
    if (!katalogDanych.trimmed().isEmpty())
        katalogi << katalogDanych;
    return katalogi;
}

} // namespace rawen
