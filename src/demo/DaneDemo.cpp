#include "demo/DaneDemo.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "demo/FirmyDemo.h"
#include "demo/TabeleDemo.h"
#include "platform/AppContext.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "store/Store.h"
#include "year/RegulyKopiiRoku.h"

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

QList<FieldDef> polaWzoru(const char *opis)
{
    QList<FieldDef> pola;
    const QStringList slowa = QString::fromLatin1(opis).split(u' ', Qt::SkipEmptyParts);
    for (const QString &slowo : slowa) {
        const QString nazwa = slowo.section(u':', 0, 0);
        const QString typ = slowo.section(u':', 1);
        FieldDef pole{nazwa, ftUnknown, 0, false};
        switch (typ.isEmpty() ? u'?' : typ.at(0).unicode()) {
        case u'S':
            pole.dataType = ftString;
            pole.size = typ.mid(1).toInt();
            break;
        case u'I':
            pole.dataType = ftInteger;
            break;
        case u'F':
            pole.dataType = ftFloat;
            break;
        case u'C':
            pole.dataType = ftCurrency;
            break;
        case u'D':
            pole.dataType = ftDate;
            break;
        case u'B':
            pole.dataType = ftBoolean;
            break;
        default:
            break; // ftUnknown: the engine refuses the definition and names the table
        }
        pola << pole;
    }
    return pola;
}

QList<IndexDef> indeksyWzoru(const WzorTabeli &wzor)
{
    QList<IndexDef> indeksy;
    if (*wzor.klucz)
        indeksy << IndexDef{QString(), QString::fromLatin1(wzor.klucz), ixPrimary | ixUnique};
    if (*wzor.drugiIndeks) {
        const QString pole = QString::fromLatin1(wzor.drugiIndeks);
        indeksy << IndexDef{pole, pole, ixCaseInsensitive};
    }
    return indeksy;
}

using Podstawienia = QList<QPair<QString, QString>>;

QString podstaw(const char *tekst, const Podstawienia &podstawienia)
{
    QString wynik = QString::fromUtf8(tekst);
    for (const auto &[znacznik, wartosc] : podstawienia)
        wynik.replace(znacznik, wartosc);
    return wynik;
}

// The other firms keep a little less history than firm 000, so that they do not look cloned.
void utworzTabele(const QString &sciezka, const WzorTabeli &wzor, const Podstawienia &podstawienia,
                  int pominiete)
{
    Table tabela;
    tabela.setTableName(sciezka);
    tabela.fieldDefs() = polaWzoru(wzor.pola);
    tabela.indexDefs() = indeksyWzoru(wzor);
    tabela.createTable();
    tabela.fieldDefs().clear();
    tabela.indexDefs().clear();
    tabela.open();
    const int ile = std::max<int>(std::min<int>(2, int(wzor.rekordy.size())),
                                  int(wzor.rekordy.size()) - pominiete);
    tabela.startTransaction();
    for (int r = 0; r < ile; ++r) {
        const QStringList wartosci = podstaw(wzor.rekordy[r], podstawienia).split(u'|');
        tabela.append();
        for (int i = 0; i < wartosci.size() && i < tabela.fieldCount(); ++i)
            tabela.field(i).setAsString(wartosci[i]);
        tabela.post();
    }
    tabela.commit();
    tabela.close();
}

// The directory and whichever of its parents are missing, each made through the durable-file
// layer.
void utworzKatalog(const QString &sciezka)
{
    Store &magazyn = Store::current();
    const QFileInfo info(sciezka);
    if (magazyn.entry(info.absoluteFilePath()).kind == Store::Kind::Directory)
        return;
    const QString rodzic = info.absolutePath();
    if (rodzic != info.absoluteFilePath())
        utworzKatalog(rodzic);
    if (!magazyn.makeDirectory(info.absoluteFilePath()))
        throw BladDanychDemo(QStringLiteral("Nie można utworzyć katalogu %1.")
                                 .arg(QDir::toNativeSeparators(sciezka)));
}

void utworzTabeleFirmy(const QString &katalogFirmy, const FirmaDemo &firma, QDate dzis)
{
    Table tabela;
    tabela.setTableName(QDir(katalogFirmy).filePath(QStringLiteral("FIRMA")));
    AktualizujTabeleFirmy(tabela);
    tabela.append();
    tabela.fieldByName(QStringLiteral("NR")).setAsInteger(firma.numer);
    for (const auto &[pole, wartosc] : firma.dane)
        tabela.fieldByName(QString::fromLatin1(pole)).setAsString(QString::fromUtf8(wartosc));
    // A recent archive and a week's period: the demo does not greet its user with a reminder.
    tabela.fieldByName(QStringLiteral("ARCHDATA"))
        .setAsString(dzis.addDays(-2).toString(QStringLiteral("yyyy.MM.dd")));
    tabela.fieldByName(QStringLiteral("ARCHDNI")).setAsInteger(7);
    tabela.fieldByName(QStringLiteral("LOGO")).setAsBoolean(false);
    tabela.post();
    tabela.flushBuffers();
    tabela.close();
}

void utworzTabeleKonfiguracji(const QString &katalog, QDate dzis)
{
    const WzorTabeli &wzor = WzorTabeliKonfiguracji();
    utworzTabele(
        sciezkaPod(katalog, wzor.sciezka), wzor,
        {{QStringLiteral("{DZIS+30}"), dzis.addDays(30).toString(QStringLiteral("yyyy.MM.dd"))}},
        0);
}

const WzorTabeli &wzorDlaKoncowki(const QString &koncowka)
{
    for (const WzorTabeli &wzor : WzoryTabelRoku()) {
        if (koncowka.compare(QString::fromLatin1(wzor.sciezka), Qt::CaseInsensitive) == 0)
            return wzor;
    }
    throw BladDanychDemo(QStringLiteral("Brak wzoru tabeli demonstracyjnej %1.").arg(koncowka));
}

// Every table the year-copy rules name, so that a year opening on the demo meets each rule.
void utworzRok(const QString &katalogFirmy, int rok, const FirmaDemo &firma, const QString &miasto)
{
    const QString katalogRoku = QDir(katalogFirmy).filePath(QString::number(rok));
    const Podstawienia podstawienia{{QStringLiteral("{R-1}"), QString::number(rok - 1)},
                                    {QStringLiteral("{R}"), QString::number(rok)},
                                    {QStringLiteral("{MIASTO}"), miasto},
                                    {QStringLiteral("{OSOBA}"), QString::fromUtf8(firma.osoba)}};
    for (const RegulaKopiiRoku &regula : RegulyKopiiRoku()) {
        const WzorTabeli &wzor = wzorDlaKoncowki(regula.koncowka);
        const QString sciezka = sciezkaPod(katalogRoku, wzor.sciezka);
        utworzKatalog(QFileInfo(sciezka).absolutePath());
        utworzTabele(sciezka, wzor, podstawienia, firma.numer);
    }
}

void utworzBaze(const QString &katalogFirmy)
{
    const QString katalogBazy = QDir(katalogFirmy).filePath(QStringLiteral("BAZA"));
    utworzKatalog(katalogBazy);
    for (const WzorTabeli &wzor : WzoryTabelBazy())
        utworzTabele(sciezkaPod(katalogBazy, wzor.sciezka), wzor, {}, 0);
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
        utworzKatalog(katalogFirmy);
        utworzTabeleFirmy(katalogFirmy, firma, dzis);
        const QString miasto = wartoscFirmy(firma, "MIEJSCOWOSC");
        // Firm 000 also has last year, so that there is a year to look back at and a year list
        // of more than one entry.
        if (firma.numer == 0)
            utworzRok(katalogFirmy, dzis.year() - 1, firma, miasto);
        utworzRok(katalogFirmy, dzis.year(), firma, miasto);
        utworzBaze(katalogFirmy);
    }
    utworzTabeleKonfiguracji(katalog, dzis);
    skopiujProgramyModulow(katalog, programModulu);
}

QString sciezkaBezwzgledna(const QString &katalog)
{
    if (!QDir::isRelativePath(katalog))
        return QDir::cleanPath(katalog);
    QString podstawa = AppContext::current().currentDirectory;
    if (podstawa.isEmpty())
        podstawa = QDir::currentPath();
    return QDir::cleanPath(QDir(podstawa).filePath(katalog));
}

// The topmost of `katalog` and its ancestors that does not exist yet: what a failed run removes
// when it had to create the directory.
QString pierwszyBrakujacy(const QString &katalog)
{
    const Store &magazyn = Store::current();
    QString brakujacy = katalog;
    for (QString rodzic = QFileInfo(katalog).path();
         rodzic != brakujacy && magazyn.entry(rodzic).kind == Store::Kind::Missing;
         rodzic = QFileInfo(rodzic).path())
        brakujacy = rodzic;
    return brakujacy;
}

// A failed run leaves nothing of its own. The directory was empty or missing when the run began,
// so everything in it now is the run's.
void usunUtworzone(const QString &katalog, const QString &utworzony)
{
    Store &magazyn = Store::current();
    if (!utworzony.isEmpty()) {
        (void)magazyn.removeDirectory(utworzony);
        return;
    }
    for (const Store::Entry &wpis : magazyn.list(katalog)) {
        const QString sciezka = QDir(katalog).filePath(wpis.name);
        if (wpis.kind == Store::Kind::Directory && !wpis.link)
            (void)magazyn.removeDirectory(sciezka);
        else
            QFile::remove(sciezka); // no table: the run makes its tables in the directory it builds
    }
}

} // namespace

void UtworzDaneDemo(const QString &katalog, QDate dzis, const QString &programModulu)
{
    const QString cel = sciezkaBezwzgledna(katalog);
    const QString nazwaCelu = QDir::toNativeSeparators(cel);

    const QFileInfo program(programModulu);
    if (!program.isFile())
        throw BladDanychDemo(QStringLiteral("Brak programu modułu demonstracyjnego %1.")
                                 .arg(QDir::toNativeSeparators(programModulu)));

    Store &magazyn = Store::current();
    const Store::Entry wpis = magazyn.entry(cel);
    QString utworzony;
    if (wpis.kind != Store::Kind::Missing || wpis.link) {
        if (wpis.kind != Store::Kind::Directory)
            throw BladDanychDemo(
                QStringLiteral("%1 nie jest katalogiem. Dane demonstracyjne można utworzyć tylko "
                               "w pustym albo nowym katalogu.")
                    .arg(nazwaCelu));
        if (!magazyn.list(cel).isEmpty())
            throw BladDanychDemo(
                QStringLiteral("Katalog %1 nie jest pusty. Dane demonstracyjne można utworzyć "
                               "tylko w pustym albo nowym katalogu.")
                    .arg(nazwaCelu));
    } else {
        utworzony = pierwszyBrakujacy(cel);
    }

    const auto niepowodzenie = [&](const QString &przyczyna) {
        usunUtworzone(cel, utworzony);
        return BladDanychDemo(
            QStringLiteral("Nie udało się utworzyć danych demonstracyjnych w katalogu %1: %2")
                .arg(nazwaCelu, przyczyna));
    };
    try {
        // The parents may stop half-way, so making them is part of what a failure undoes.
        utworzKatalog(QFileInfo(cel).absolutePath());
        // The data root is made whole beside its place under a temporary name and moved there in
        // one step: a run killed half-way leaves no half-made data root, only a temporary that
        // the next run removes.
        const std::unique_ptr<DirectoryUnderConstruction> budowa = magazyn.buildDirectory(cel);
        if (!budowa)
            throw BladDanychDemo(QStringLiteral("Nie można utworzyć katalogu obok %1: %2.")
                                     .arg(nazwaCelu, magazyn.lastError()));
        utworzZawartosc(budowa->path(), dzis, program.absoluteFilePath());
        if (!budowa->moveInto())
            throw BladDanychDemo(QStringLiteral("Nie można nadać katalogowi nazwy %1: %2.")
                                     .arg(nazwaCelu, magazyn.lastError()));
    } catch (const EngineError &blad) {
        throw niepowodzenie(blad.message());
    } catch (const BladDanychDemo &blad) {
        throw niepowodzenie(blad.message());
    }
}

} // namespace rawen
