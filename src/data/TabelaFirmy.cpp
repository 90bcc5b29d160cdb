#include "data/TabelaFirmy.h"

#include "data/OtworzTabele.h"
#include "data/Table.h"
#include "platform/EngineError.h"

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

// `nazwa` of the old record; "" when the old table has no such field.
QString wartosc(const OldRecord &stary, const char *nazwa)
{
    return stary.value(QString::fromLatin1(nazwa));
}

// `zapas` is the spare field where older layouts kept the value; a later layout gave it its own
// field `wlasne`, which wins when it holds something.
QString zZapasu(const OldRecord &stary, const char *zapas, const char *wlasne)
{
    const QString zWlasnego = wartosc(stary, wlasne);
    return zWlasnego.isEmpty() ? wartosc(stary, zapas) : zWlasnego;
}

QStringList wierszZeStarego(const OldRecord &stary)
{
    QString rachunek;
    if (stary.contains(QStringLiteral("NUM1")) && stary.contains(QStringLiteral("NUM2")) &&
        stary.contains(QStringLiteral("NUM3"))) {
        // Older layouts split the one account number in three fields.
        const QString srodek = wartosc(stary, "NUM2");
        rachunek = wartosc(stary, "NUM1") + u' ' + srodek.mid(0, 4) + u' ' + srodek.mid(4, 4) +
                   u' ' + wartosc(stary, "NUM3");
        // The old tables dropped trailing blanks of a text on storing, so empty parts never left
        // a row of spaces behind; this engine keeps them.
        while (rachunek.endsWith(u' '))
            rachunek.chop(1);
    }

    QStringList wiersz;
    for (const FieldDef &pole : PolaTabeliFirmy()) {
        const QString &nazwa = pole.name;
        if (nazwa == QLatin1String("NUM1"))
            wiersz << rachunek;
        else if (nazwa == QLatin1String("BANK2") || nazwa == QLatin1String("BANK3") ||
                 nazwa == QLatin1String("ADRES2") || nazwa == QLatin1String("ADRES3") ||
                 nazwa == QLatin1String("NUM2") || nazwa == QLatin1String("NUM3"))
            wiersz << QString();
        else if (nazwa == QLatin1String("ADRES1"))
            wiersz << wartosc(stary, "ZAPAS1");
        else if (nazwa == QLatin1String("ARCHDATA"))
            wiersz << zZapasu(stary, "ZAPAS2", "ARCHDATA");
        else if (nazwa == QLatin1String("ARCHDNI"))
            wiersz << zZapasu(stary, "ZAPAS3", "ARCHDNI");
        else
            wiersz << stary.value(nazwa.toUpper());
    }
    return wiersz;
}

// A firm's record as the user knows it: its number and its short name.
QString opisRekordu(const OldRecord &stary)
{
    return QStringLiteral("NR %1 (%2)")
        .arg(wartosc(stary, "NR"), wartosc(stary, "SKROT").trimmed());
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

QString zWielkiejLitery(const QString &tekst)
{
    return tekst.isEmpty() ? tekst : tekst.left(1).toUpper() + tekst.mid(1);
}

// The table is rebuilt inside its own file, in one transaction: other programs that have it open
// keep a valid file and see the new layout afterwards, a record another program commits meanwhile
// cannot be missed (the write lock is held from the first record read to the last written), and a
// failure or a crash at any point leaves the old table as it was.
void przebuduj(Table &tabela)
{
    const QString plik = QFileInfo(tabela.fileName()).fileName();
    try {
        if (!tabela.restructure(PolaTabeliFirmy(), IndeksyTabeliFirmy(), wierszZeStarego,
                                opisRekordu))
            return; // another program changed it meanwhile; the next start looks again
    } catch (const EngineError &blad) {
        if (!tabela.isOpen()) {
            try {
                tabela.open();
                tabela.first();
            } catch (const EngineError &) {
                // The caller reports a table it finds closed.
            }
        }
        const QString przyczyna = zWielkiejLitery(blad.cause());
        if (blad.kind() == EngineError::Locked)
            throw BladPrzebudowyTabeliFirmy(
                QStringLiteral("Tabela danych o firmie %1 jest używana przez inny program i nie "
                               "może być teraz przekształcona do nowego układu.\rTabela "
                               "pozostała bez zmian; przekształcenie nastąpi przy następnym "
                               "uruchomieniu programu.")
                    .arg(plik));
        throw BladPrzebudowyTabeliFirmy(
            QStringLiteral("Nie udało się przekształcić tabeli danych o firmie %1 do nowego "
                           "układu.\rPrzyczyna: %2\rTabela pozostała bez zmian.")
                .arg(plik, przyczyna));
    }
    // The structure file describes the old layout: the open that upgraded the table writes the
    // new one over it in one rename, so there is always one whole structure file.
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
    // A table the user chose to keep read-only is kept as it is, in its old layout.
    if (tabela.isReadOnly())
        return;
    przebuduj(tabela);
}

} // namespace rawen
