#include "archive/MiejsceArchiwum.h"

#include "data/Table.h"
#include "platform/EngineError.h"
#include "platform/FileNames.h"
#include "store/Store.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

namespace {

// The path as the disk has it: absolute, clean, links of the part that exists followed, no
// closing separator but the root's.
QString naDysku(const QString &sciezka)
{
    QString reszta;
    QString istniejaca = QDir::cleanPath(QDir(sciezka).absolutePath());
    while (!QFileInfo::exists(istniejaca)) {
        const QFileInfo info(istniejaca);
        const QString rodzic = info.path();
        if (rodzic == istniejaca)
            break;
        reszta = reszta.isEmpty() ? info.fileName() : info.fileName() + u'/' + reszta;
        istniejaca = rodzic;
    }
    QString kanoniczna = QFileInfo(istniejaca).canonicalFilePath();
    if (kanoniczna.isEmpty())
        kanoniczna = istniejaca;
    if (reszta.isEmpty())
        return kanoniczna;
    return kanoniczna.endsWith(u'/') ? kanoniczna + reszta : kanoniczna + u'/' + reszta;
}

bool takSamo(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// `wewnatrz` is `zewnatrz` or lies inside it.
bool wObrebie(const QString &wewnatrz, const QString &zewnatrz)
{
    if (takSamo(wewnatrz, zewnatrz))
        return true;
    const QString przedrostek = zewnatrz.endsWith(u'/') ? zewnatrz : zewnatrz + u'/';
    return wewnatrz.startsWith(przedrostek, Qt::CaseInsensitive);
}

QString natywna(const QString &sciezka)
{
    return QDir::toNativeSeparators(sciezka);
}

// DR of the firm table in `katalogFirmy`, when it names another folder.
QString katalogDanychFirmy(const QString &katalogFirmy)
{
    Table tabela;
    tabela.setTableName(katalogFirmy + QStringLiteral("/FIRMA.DB"));
    try {
        tabela.open();
        const Field dr = tabela.findField(QStringLiteral("DR"));
        if (dr.isValid())
            return dr.asString().trimmed();
    } catch (const EngineError &) {
        // Without its firm table the firm's years are in its folder.
    }
    return QString();
}

bool nazwaFirmy(const QString &nazwa)
{
    return nazwa.startsWith(QLatin1String("FIRMA"), Qt::CaseInsensitive) ||
           nazwa.startsWith(QLatin1String("#IRMA"), Qt::CaseInsensitive);
}

} // namespace

QString BladMiejscaArchiwum(const QString &katalog, const QString &katalogGlowny,
                            const QStringList &katalogiDanych, bool odtworzenie)
{
    const QString A = naDysku(katalog);
    const QString K = naDysku(katalogGlowny);

    // Every folder that holds a firm's data: the data root, the firm folders in it, and the
    // data directories their firm tables or the caller name.
    // The firm folders are the store's; the paths are compared as this machine's disk has them,
    // where the archive lies.
    const Store &magazyn = Store::current();
    QStringList foldery{K};
    for (const Store::Entry &wpis : magazyn.list(K)) {
        if (wpis.kind == Store::Kind::Directory && nazwaFirmy(wpis.name))
            foldery << naDysku(QDir(K).filePath(wpis.name));
    }
    QStringList dane = katalogiDanych;
    for (const QString &folder : std::as_const(foldery)) {
        const QString dr = katalogDanychFirmy(folder);
        if (!dr.isEmpty())
            dane << dr;
    }
    for (const QString &dr : std::as_const(dane)) {
        if (!dr.trimmed().isEmpty())
            foldery << naDysku(dr.trimmed());
    }
    foldery.removeDuplicates();

    // The folder itself or one that holds it.
    for (const QString &folder : std::as_const(foldery)) {
        if (takSamo(A, folder))
            return QStringLiteral("to katalog z danymi firmy (%1)").arg(natywna(folder));
        if (wObrebie(folder, A))
            return QStringLiteral("zawiera katalog z danymi firmy (%1)").arg(natywna(folder));
    }
    // Inside a firm's data: what the innermost folder holding it makes of it.
    QString najblizszy;
    for (const QString &folder : std::as_const(foldery)) {
        if (wObrebie(A, folder) && folder.size() > najblizszy.size())
            najblizszy = folder;
    }
    if (najblizszy.isEmpty())
        return QString();
    const QString wzgledna =
        A.mid(najblizszy.endsWith(u'/') ? najblizszy.size() : najblizszy.size() + 1);
    const QString pierwszy = wzgledna.section(u'/', 0, 0);
    const QString miejsce = natywna(QDir(najblizszy).filePath(pierwszy));
    if (takSamo(pierwszy, QStringLiteral("ARCHIWUM")))
        return QString();
    if (odtworzenie && pierwszy.startsWith(QLatin1String("ODTWARZANIE-"), Qt::CaseInsensitive))
        return QString();
    const bool sam = wzgledna == pierwszy;
    if (takSamo(pierwszy, QStringLiteral("BAZA")))
        return (sam ? QStringLiteral("to katalog BAZA z danymi firmy (%1)")
                    : QStringLiteral("leży w katalogu BAZA z danymi firmy (%1)"))
            .arg(miejsce);
    // The year list takes every folder whose name begins with 1 or 2.
    if (pierwszy.startsWith(u'1') || pierwszy.startsWith(u'2')) {
        if (magazyn.entry(QDir(najblizszy).filePath(pierwszy)).kind != Store::Kind::Directory)
            return QStringLiteral("zostałby wzięty za katalog roku %1 (%2)")
                .arg(pierwszy.left(4), miejsce);
        return (sam ? QStringLiteral("to katalog roku %1 (%2)")
                    : QStringLiteral("leży w katalogu roku %1 (%2)"))
            .arg(pierwszy.left(4), miejsce);
    }
    if (takSamo(najblizszy, K) && nazwaFirmy(pierwszy))
        return QStringLiteral("zostałby wzięty za katalog firmy (%1)").arg(miejsce);
    return QStringLiteral("leży w katalogu z danymi firmy (%1) poza jego katalogiem ARCHIWUM")
        .arg(natywna(najblizszy));
}

} // namespace rawen
