#include "demo/DaneDemo.h"

#include "demo/FirmyDemo.h"
#include "demo/TabeleDemo.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QStringList>

#include <algorithm>

namespace rawen {

namespace {

// The eight module programs the main window looks for in the data root.
const QStringList &ProgramyModulow()
{
    static const QStringList programy{"dremot.exe", "lomira.exe", "harnol.exe", "garvel.exe",
                                      "selvik.exe", "tessun.exe", "puntor.exe", "borvik.exe"};
    return programy;
}

QString sciezkaPod(const QString &katalog, const char *sciezka)
{
    return QDir(katalog).filePath(QString::fromUtf8(sciezka).replace(u'\\', u'/'));
}

// Every record of the template, or all but `pominiete` of them (never fewer than two): the
// other firms keep a little less history than firm 000, so that they do not look cloned.
IleRekordow bezOstatnich(int pominiete)
{
    return [pominiete](const WzorTabeli &wzor) {
        const int wszystkie = int(wzor.rekordy.size());
        return std::max(std::min(2, wszystkie), wszystkie - pominiete);
    };
}

void utworzTabeleFirmy(const QString &katalogFirmy, const FirmaDemo &firma, QDate dzis)
{
    QList<QPair<QString, QString>> pola;
    for (const auto &[pole, wartosc] : firma.dane)
        pola.append({QString::fromLatin1(pole), QString::fromUtf8(wartosc)});
    // A recent archive and a week's period: the demo does not greet its user with a reminder.
    pola.append({QStringLiteral("ARCHDATA"), dzis.addDays(-2).toString(u"yyyy.MM.dd")});
    pola.append({QStringLiteral("ARCHDNI"), QStringLiteral("7")});
    pola.append({QStringLiteral("LOGO"), QStringLiteral("False")});
    UtworzTabeleFirmyWzoru(katalogFirmy, firma.numer, pola);
}

void utworzTabeleKonfiguracji(const QString &katalog, QDate dzis)
{
    const WzorTabeli &wzor = WzorTabeliKonfiguracji();
    UtworzTabeleWzoru(sciezkaPod(katalog, wzor.sciezka), wzor,
                      {{QStringLiteral("{DZIS+30}"), dzis.addDays(30).toString(u"yyyy.MM.dd")}},
                      int(wzor.rekordy.size()));
}

QString wartoscFirmy(const FirmaDemo &firma, const char *pole)
{
    for (const auto &[nazwa, wartosc] : firma.dane) {
        if (qstrcmp(nazwa, pole) == 0)
            return QString::fromUtf8(wartosc);
    }
    return QString();
}

void skopiujProgramyModulow(const QString &katalog, const QString &programModulu)
{
    const QFileDevice::Permissions wykonywalny = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                 QFileDevice::ExeOther;
    for (const QString &nazwa : ProgramyModulow()) {
        const QString cel = QDir(katalog).filePath(nazwa);
        try {
            copyFile(programModulu, cel);
        } catch (const EngineError &) {
            throw BladDanychDemo(
                QStringLiteral("Nie można skopiować programu %1 do %2.")
                    .arg(QDir::toNativeSeparators(programModulu), QDir::toNativeSeparators(cel)));
        }
        if (!QFile::setPermissions(cel, wykonywalny))
            throw BladDanychDemo(
                QStringLiteral("Nie można skopiować programu %1 do %2.")
                    .arg(QDir::toNativeSeparators(programModulu), QDir::toNativeSeparators(cel)));
    }
}

void utworzZawartosc(const QString &katalog, QDate dzis, const QString &programModulu)
{
    const QList<FirmaDemo> &firmy = FirmyDemo();
    for (const FirmaDemo &firma : firmy) {
        const QString katalogFirmy = firma.numer == 0
                                         ? katalog
                                         : QDir(katalog).filePath(QStringLiteral("FIRMA%1").arg(
                                               firma.numer, 3, 10, QLatin1Char('0')));
        UtworzKatalogi(katalogFirmy);
        utworzTabeleFirmy(katalogFirmy, firma, dzis);
        const QString miasto = wartoscFirmy(firma, "MIEJSCOWOSC");
        // Firm 000 also has last year, so that there is a year to look back at and a year list
        // of more than one entry.
        for (int rok = firma.numer == 0 ? dzis.year() - 1 : dzis.year(); rok <= dzis.year();
             ++rok) {
            const Podstawienia podstawienia{
                {QStringLiteral("{R-1}"), QString::number(rok - 1)},
                {QStringLiteral("{R}"), QString::number(rok)},
                {QStringLiteral("{MIASTO}"), miasto},
                {QStringLiteral("{OSOBA}"), QString::fromUtf8(firma.osoba)}};
            UtworzRokWzoru(katalogFirmy, rok, podstawienia, bezOstatnich(firma.numer));
        }
        UtworzBazeWzoru(katalogFirmy, bezOstatnich(0));
    }
    utworzTabeleKonfiguracji(katalog, dzis);
    skopiujProgramyModulow(katalog, programModulu);
}

} // namespace

void UtworzDaneDemo(const QString &katalog, QDate dzis, const QString &programModulu)
{
    const QFileInfo program(programModulu);
    if (!program.isFile())
        throw BladDanychDemo(QStringLiteral("Brak programu modułu demonstracyjnego %1.")
                                 .arg(QDir::toNativeSeparators(programModulu)));
    const QString modul = program.absoluteFilePath();
    ZbudujKatalogDanych(
        katalog,
        {QStringLiteral("Dane demonstracyjne"),
         QStringLiteral("Nie udało się utworzyć danych demonstracyjnych w katalogu %1: %2")},
        [&](const QString &budowa) { utworzZawartosc(budowa, dzis, modul); });
}

} // namespace rawen
