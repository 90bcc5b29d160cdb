#include "legacy/KodowanieParadox.h"

#include <QStringDecoder>

namespace rawen {

namespace {

QByteArray nazwaStrony(int strona)
{
    if (strona <= 0)
        return {};
    // The DOS code pages are IBM nnn to ICU, the Windows ones windows-nnnn.
    const QByteArray nazwa = strona >= 1250 && strona <= 1258
                                 ? QByteArray("windows-") + QByteArray::number(strona)
                                 : QByteArray("IBM ") + QByteArray::number(strona);
    return QStringDecoder(nazwa.constData()).isValid() ? nazwa : QByteArray();
}

// The code page of a language driver, by the symbolic name the old engine wrote into the
// header. The Windows ("ANSI") drivers of Central Europe are named with "AN" or "ANSI" before the
// language; the DOS ones by the language, some with their code page.
int stronaSterownika(const QByteArray &sterownik)
{
    const QByteArray s = sterownik.trimmed().toUpper();
    if (s.isEmpty())
        return 0;
    for (const int strona : {852, 850, 437, 865, 866, 861, 737, 857, 1250, 1251, 1252}) {
        if (s.contains(QByteArray::number(strona)))
            return strona;
    }
    const bool ansi = s.startsWith("ANSI") || s.startsWith("AN") || s.startsWith("DBWIN") ||
                      s.startsWith("BLWIN");
    for (const char *europa : {"POL", "CZ", "HUN", "SLO"}) {
        if (s.contains(europa))
            return ansi ? 1250 : 852;
    }
    if (ansi)
        return 1252;
    if (s == "ASCII" || s == "INTL" || s == "SWEDFIN" || s == "SPANISH")
        return 437;
    if (s.startsWith("NORDAN"))
        return 865;
    return 0;
}

} // namespace

QByteArray KodowanieOpcji(const QString &opcja)
{
    const QString o = opcja.trimmed().toLower();
    if (o == QLatin1String("cp852") || o == QLatin1String("852"))
        return "IBM 852";
    if (o == QLatin1String("cp1250") || o == QLatin1String("1250"))
        return "windows-1250";
    return {};
}

WyborKodowania WybierzKodowanie(const QByteArray &sterownikJezyka, int stronaKodowa,
                                const QString &wymuszone)
{
    if (!wymuszone.isEmpty())
        return {KodowanieOpcji(wymuszone), QStringLiteral("wymuszone opcją (%1)").arg(wymuszone),
                false};
    if (const QByteArray z = nazwaStrony(stronaSterownika(sterownikJezyka)); !z.isEmpty())
        return {z,
                QStringLiteral("ze sterownika języka %1").arg(QString::fromLatin1(sterownikJezyka)),
                false};
    if (const QByteArray z = nazwaStrony(stronaKodowa); !z.isEmpty())
        return {z, QStringLiteral("ze strony kodowej nagłówka (%1)").arg(stronaKodowa), false};
    // Tables of DOS Paradox 3 name neither; a Polish office's were in Latin 2.
    return {"IBM 852", QStringLiteral("przyjęte (tabela nie podaje kodowania)"), true};
}

} // namespace rawen
