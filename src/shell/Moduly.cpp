#include "shell/Moduly.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace rawen {

const QList<Modul> &Moduly()
{
    static const QList<Modul> moduly{
        {"DREMOT", "Faktura"},       {"LOMIRA", "Przelewy"},      {"HARNOL", "Księga"},
        {"GARVEL", "Środki Trwałe"}, {"SELVIK", "Ewidencja VAT"}, {"TESSUN", "Ewid. pojazdu"},
        {"PUNTOR", "Raport Kasowy"}, {"BORVIK", "Analizator"},
    };
    return moduly;
}

QString KodModulu(const QString &nazwaKontrolki)
{
    return nazwaKontrolki.mid(1, 8);
}

QString PlikModulu(const QString &katalogGlowny, const QString &kod)
{
    return katalogGlowny + kod.toLower() + QStringLiteral(".exe");
}

QString KatalogModulu(const QString &katalogGlowny, const QString &katalogModulow,
                      const QString &kod)
{
    for (const QString &katalog : {katalogGlowny, katalogModulow}) {
        if (!katalog.isEmpty() &&
            QFileInfo(resolveCaseInsensitive(PlikModulu(katalog, kod))).isFile())
            return katalog;
    }
    return QString();
}

QString PolecenieModulu::wiersz() const
{
    return program + u' ' + argumenty.join(u' ');
}

PolecenieModulu Polecenie(const QString &katalogGlowny, const QString &nazwaKontrolki,
                          const QString &pozycja, const QString &katalogFirmy,
                          const QString &katalogModulow)
{
    PolecenieModulu polecenie;
    const QString kod = KodModulu(nazwaKontrolki);
    const QString katalog = KatalogModulu(katalogGlowny, katalogModulow, kod);
    polecenie.program =
        (katalog.isEmpty() ? katalogGlowny : katalog) + kod + QStringLiteral(".EXE");
    const QString numer = pozycja.left(3);
    if (numer != QLatin1String("000")) {
        QString parametr = QStringLiteral("DR=") + (katalogFirmy.isEmpty()
                                                        ? katalogGlowny + QStringLiteral("FIRMA") +
                                                              numer + QDir::separator()
                                                        : katalogFirmy);
        parametr.replace(u' ', u'_');
        polecenie.argumenty << parametr;
    }
    return polecenie;
}

} // namespace rawen
