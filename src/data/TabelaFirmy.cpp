#include "data/TabelaFirmy.h"

#include "data/OtworzTabele.h"
#include "data/Table.h"
#include "data/TableFile.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace rawen {

namespace {

FieldDef tekst(const char *name, int size)
{
    return {QString::fromLatin1(name), ftString, size, false};
}

FieldDef pole(const char *name, TFieldType type)
{
    return {QString::fromLatin1(name), type, 0, false};
}

using Wiersz = QStringList;

QString wartosc(Table &tabela, const QString &nazwa)
{
    const Field field = tabela.findField(nazwa);
    return field.isValid() ? field.asString() : QString();
}

// `zapas` is the spare field where older layouts kept the value; a later layout gave it its own
// field `wlasne`, which wins when it holds something.
QString zZapasu(Table &tabela, const QString &zapas, const QString &wlasne)
{
    const QString zWlasnego = wartosc(tabela, wlasne);
    return zWlasnego.isEmpty() ? wartosc(tabela, zapas) : zWlasnego;
}

Wiersz wierszZeStarego(Table &stara)
{
    const Field num1 = stara.findField(QStringLiteral("NUM1"));
    const Field num2 = stara.findField(QStringLiteral("NUM2"));
    const Field num3 = stara.findField(QStringLiteral("NUM3"));
    QString rachunek;
    if (num1.isValid() && num2.isValid() && num3.isValid()) {
        // Older layouts split the one account number in three fields.
        const QString srodek = num2.asString();
        rachunek = num1.asString() + u' ' + srodek.mid(0, 4) + u' ' + srodek.mid(4, 4) + u' ' +
                   num3.asString();
        // The old tables dropped trailing blanks of a text on storing, so empty parts never left
        // a row of spaces behind; this engine keeps them.
        while (rachunek.endsWith(u' '))
            rachunek.chop(1);
    }

    Wiersz wiersz;
    for (const FieldDef &pole : PolaTabeliFirmy()) {
        const QString &nazwa = pole.name;
        if (nazwa == QLatin1String("NUM1"))
            wiersz << rachunek;
        else if (nazwa == QLatin1String("BANK2") || nazwa == QLatin1String("BANK3") ||
                 nazwa == QLatin1String("ADRES2") || nazwa == QLatin1String("ADRES3") ||
                 nazwa == QLatin1String("NUM2") || nazwa == QLatin1String("NUM3"))
            wiersz << QString();
        else if (nazwa == QLatin1String("ADRES1"))
            wiersz << wartosc(stara, QStringLiteral("ZAPAS1"));
        else if (nazwa == QLatin1String("ARCHDATA"))
            wiersz << zZapasu(stara, QStringLiteral("ZAPAS2"), nazwa);
        else if (nazwa == QLatin1String("ARCHDNI"))
            wiersz << zZapasu(stara, QStringLiteral("ZAPAS3"), nazwa);
        else
            wiersz << wartosc(stara, nazwa);
    }
    return wiersz;
}

QList<Wiersz> czytajWiersze(Table &stara)
{
    QList<Wiersz> wiersze;
    stara.disableControls();
    try {
        for (stara.first(); !stara.eof(); stara.next())
            wiersze << wierszZeStarego(stara);
    } catch (...) {
        stara.enableControls();
        throw;
    }
    stara.enableControls();
    return wiersze;
}

void usunPliki(const QString &sciezka)
{
    for (const QString &towarzyszacy : TableFile::companionFiles(sciezka))
        QFile::remove(towarzyszacy);
    QFile::remove(sciezka);
}

void utworzPusta(Table &tabela)
{
    tabela.fieldDefs() = PolaTabeliFirmy();
    tabela.indexDefs() = IndeksyTabeliFirmy();
    try {
        tabela.createTable();
    } catch (const EngineError &) {
        // Whatever table of that name exists is opened below; without one the handle stays closed.
    }
    tabela.fieldDefs().clear();
    tabela.indexDefs().clear();
    try {
        tabela.open();
    } catch (const EngineError &) {
        return;
    }
    tabela.first();
}

void zapiszWiersze(Table &nowa, const QList<Wiersz> &wiersze)
{
    const QList<FieldDef> &pola = PolaTabeliFirmy();
    for (const Wiersz &wiersz : wiersze) {
        nowa.append();
        for (int i = 0; i < pola.size(); ++i)
            nowa.fieldByName(pola[i].name).setAsString(wiersz[i]);
        ZapiszTabele(nowa);
    }
    // The post routine reports a failed post to the user and goes on; the row is lost all the
    // same, and the old table must then stay.
    const qint64 zapisane = nowa.recordCount();
    if (zapisane != wiersze.size())
        throw EngineError(
            EngineError::Io,
            QStringLiteral("zapisano %1 z %2 rekordów").arg(zapisane).arg(wiersze.size()));
}

// The new table is built beside the old one under a hidden name that no pattern for the firm
// table's files ("FIRMA.*") matches, and moved over the old one only when it holds every record.
void przebuduj(Table &tabela)
{
    const QString nazwaPliku = tabela.fileName();
    const QFileInfo plik(nazwaPliku);
    const QString tymczasowa =
        plik.absoluteDir().filePath(u'.' + plik.completeBaseName() + QStringLiteral("-nowa.DB"));

    try {
        const QList<Wiersz> wiersze = czytajWiersze(tabela);
        usunPliki(tymczasowa);
        Table nowa(tabela.session());
        try {
            nowa.setTableName(tymczasowa);
            nowa.fieldDefs() = PolaTabeliFirmy();
            nowa.indexDefs() = IndeksyTabeliFirmy();
            nowa.createTable();
            nowa.fieldDefs().clear();
            nowa.indexDefs().clear();
            nowa.open();
            zapiszWiersze(nowa, wiersze);
            nowa.close();
            tabela.close();
            nowa.replaceTable(nazwaPliku);
        } catch (...) {
            nowa.close();
            usunPliki(tymczasowa);
            throw;
        }
    } catch (const EngineError &blad) {
        tabela.open();
        tabela.first();
        throw BladPrzebudowyTabeliFirmy(
            QStringLiteral("Nie udało się przekształcić tabeli danych o firmie %1 do nowego "
                           "układu.\rPrzyczyna: %2\rTabela pozostała bez zmian.")
                .arg(plik.fileName(), blad.message()));
    }

    // Index and memo files of the replaced table describe a table that is gone.
    for (const QString &towarzyszacy : TableFile::companionFiles(nazwaPliku))
        QFile::remove(towarzyszacy);
    // The structure file described the old layout; the next open writes it anew.
    const QString sciezka = tabela.fileName();
    QFile::remove(
        resolveCaseInsensitive(sciezka.left(sciezka.size() - 3) + QStringLiteral(".STR")));
    tabela.open();
    tabela.first();
}

} // namespace

const QList<FieldDef> &PolaTabeliFirmy()
{
    static const QList<FieldDef> pola = {
        pole("NR", ftInteger),
        tekst("DR", 50),
        tekst("NIP", 13),
        tekst("REGON", 14),
        tekst("PESEL", 11),
        tekst("RHB", 50),
        tekst("SKROT", 50),
        tekst("NAZWA1", 50),
        tekst("NAZWA2", 50),
        tekst("NAZWISKO", 30),
        tekst("IMIE", 20),
        tekst("DATAUR", 10),
        tekst("RD", 1),
        tekst("NRD", 9),
        tekst("ULICA", 30),
        tekst("NUMER", 7),
        tekst("LOKAL", 7),
        tekst("KOD", 6),
        tekst("POCZTA", 30),
        tekst("KRAJ", 30),
        tekst("WOJEWODZTWO", 30),
        tekst("POWIAT", 30),
        tekst("GMINA", 30),
        tekst("MIEJSCOWOSC", 30),
        tekst("EMAIL", 50),
        tekst("WWW", 50),
        tekst("RP", 1),
        tekst("BANK", 40),
        tekst("BANK2", 40),
        tekst("BANK3", 40),
        tekst("ADRES1", 40),
        tekst("ADRES2", 40),
        tekst("ADRES3", 40),
        tekst("NUM1", 40),
        tekst("NUM2", 40),
        tekst("NUM3", 40),
        pole("DRTYP", ftInteger),
        pole("DRPORT", ftInteger),
        pole("DREKS", ftInteger),
        pole("DRRODZAJ", ftInteger),
        pole("DRPL", ftInteger),
        pole("DRPODZIAL", ftBoolean),
        pole("DRLEWY", ftInteger),
        pole("DRGORA", ftInteger),
        pole("DRLINIDOS", ftInteger),
        pole("DRBUFOR", ftBoolean),
        tekst("URZAD", 50),
        tekst("KAPITAL", 30),
        tekst("OBRDATA", 5),
        tekst("ARCHDATA", 10),
        pole("ARCHDNI", ftInteger),
        pole("LOGO", ftBoolean),
        tekst("ZAPAS1", 50),
        tekst("ZAPAS2", 50),
        pole("ZAPAS3", ftInteger),
        pole("ZAPAS4", ftFloat),
        pole("ZL1", ftBoolean),
        pole("ZL2", ftBoolean),
        tekst("ZULICA", 30),
        tekst("ZNUMER", 7),
        tekst("ZLOKAL", 7),
        tekst("ZKOD", 6),
        tekst("ZPOCZTA", 30),
        tekst("ZKRAJ", 30),
        tekst("ZWOJEWODZTWO", 30),
        tekst("ZPOWIAT", 30),
        tekst("ZGMINA", 30),
        tekst("ZMIEJSCOWOSC", 30),
    };
    return pola;
}

const QList<IndexDef> &IndeksyTabeliFirmy()
{
    static const QList<IndexDef> indeksy = {
        {QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
        {QStringLiteral("Ninx"), QStringLiteral("SKROT"), ixCaseInsensitive},
    };
    return indeksy;
}

void AktualizujTabeleFirmy(Table &tabela)
{
    if (!tabela.isOpen()) {
        utworzPusta(tabela);
        return;
    }
    if (tabela.fieldCount() >= PolaTabeliFirmy().size())
        return;
    przebuduj(tabela);
}

} // namespace rawen
