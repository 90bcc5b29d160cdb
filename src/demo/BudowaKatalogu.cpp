#include "demo/BudowaKatalogu.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/AppContext.h"
#include "platform/EngineError.h"
#include "store/Store.h"
#include "year/RegulyKopiiRoku.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <memory>

namespace rawen {

namespace {

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

QString podstaw(const char *tekst, const Podstawienia &podstawienia)
{
    QString wynik = QString::fromUtf8(tekst);
    for (const auto &[znacznik, wartosc] : podstawienia)
        wynik.replace(znacznik, wartosc);
    return wynik;
}

const WzorTabeli &wzorDlaKoncowki(const QString &koncowka)
{
    for (const WzorTabeli &wzor : WzoryTabelRoku()) {
        if (koncowka.compare(QString::fromLatin1(wzor.sciezka), Qt::CaseInsensitive) == 0)
            return wzor;
    }
    throw BladBudowyKatalogu(QStringLiteral("Brak wzoru tabeli %1.").arg(koncowka));
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

// A failed run leaves nothing of its own. The root itself is built beside its place, and its
// temporary is gone with it; what is left are the parents the run made, up to `utworzony`, the
// first that was missing. Only those still empty go: a directory someone filled meanwhile (the
// usual reason the last rename fails) keeps what was put there, and a root that was there and
// empty stays as it was.
void usunUtworzone(const QString &katalog, const QString &utworzony)
{
    if (utworzony.isEmpty())
        return;
    Store &magazyn = Store::current();
    for (QString sciezka = katalog;; sciezka = QFileInfo(sciezka).path()) {
        const Store::Entry wpis = magazyn.entry(sciezka);
        if (wpis.kind == Store::Kind::Directory && !wpis.link && magazyn.list(sciezka).isEmpty())
            (void)magazyn.removeDirectory(sciezka);
        if (sciezka == utworzony || QFileInfo(sciezka).path() == sciezka)
            break;
    }
}

} // namespace

void UtworzKatalogi(const QString &sciezka)
{
    Store &magazyn = Store::current();
    const QFileInfo info(sciezka);
    if (magazyn.entry(info.absoluteFilePath()).kind == Store::Kind::Directory)
        return;
    const QString rodzic = info.absolutePath();
    if (rodzic != info.absoluteFilePath())
        UtworzKatalogi(rodzic);
    if (!magazyn.makeDirectory(info.absoluteFilePath()))
        throw BladBudowyKatalogu(QStringLiteral("Nie można utworzyć katalogu %1.")
                                     .arg(QDir::toNativeSeparators(sciezka)));
}

void UtworzTabeleWzoru(const QString &sciezka, const WzorTabeli &wzor,
                       const Podstawienia &podstawienia, int rekordy)
{
    Table tabela;
    tabela.setTableName(sciezka);
    tabela.fieldDefs() = polaWzoru(wzor.pola);
    tabela.indexDefs() = indeksyWzoru(wzor);
    tabela.createTable();
    tabela.fieldDefs().clear();
    tabela.indexDefs().clear();
    if (rekordy <= 0)
        return;
    tabela.open();
    const int ile = std::min<int>(rekordy, int(wzor.rekordy.size()));
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

void UtworzRokWzoru(const QString &katalogFirmy, int rok, const Podstawienia &podstawienia,
                    const IleRekordow &rekordy)
{
    const QString katalogRoku = QDir(katalogFirmy).filePath(QString::number(rok));
    UtworzKatalogi(katalogRoku);
    for (const RegulaKopiiRoku &regula : RegulyKopiiRoku()) {
        const WzorTabeli &wzor = wzorDlaKoncowki(regula.koncowka);
        const QString sciezka = sciezkaPod(katalogRoku, wzor.sciezka);
        UtworzKatalogi(QFileInfo(sciezka).absolutePath());
        UtworzTabeleWzoru(sciezka, wzor, podstawienia, rekordy(wzor));
    }
}

void UtworzBazeWzoru(const QString &katalogFirmy, const IleRekordow &rekordy)
{
    const QString katalogBazy = QDir(katalogFirmy).filePath(QStringLiteral("BAZA"));
    UtworzKatalogi(katalogBazy);
    for (const WzorTabeli &wzor : WzoryTabelBazy())
        UtworzTabeleWzoru(sciezkaPod(katalogBazy, wzor.sciezka), wzor, {}, rekordy(wzor));
}

void UtworzTabeleFirmyWzoru(const QString &katalogFirmy, int numer,
                            const QList<QPair<QString, QString>> &pola)
{
    Table tabela;
    tabela.setTableName(QDir(katalogFirmy).filePath(QStringLiteral("FIRMA")));
    // Made here rather than through AktualizujTabeleFirmy, which passes over a table it cannot
    // make (start-up reports that when it opens it): a data root that fails must say why.
    tabela.fieldDefs() = PolaTabeliFirmy();
    tabela.indexDefs() = IndeksyTabeliFirmy();
    tabela.createTable();
    tabela.fieldDefs().clear();
    tabela.indexDefs().clear();
    tabela.open();
    tabela.append();
    tabela.fieldByName(QStringLiteral("NR")).setAsInteger(numer);
    for (const auto &[pole, wartosc] : pola)
        tabela.fieldByName(pole).setAsString(wartosc);
    tabela.post();
    tabela.flushBuffers();
    tabela.close();
}

QString SciezkaBezwzgledna(const QString &katalog)
{
    if (!QDir::isRelativePath(katalog))
        return QDir::cleanPath(katalog);
    QString podstawa = AppContext::current().currentDirectory;
    if (podstawa.isEmpty())
        podstawa = QDir::currentPath();
    return QDir::cleanPath(QDir(podstawa).filePath(katalog));
}

void ZbudujKatalogDanych(const QString &katalog, const TekstyBudowy &teksty,
                         const std::function<void(const QString &budowa)> &zawartosc)
{
    const QString cel = SciezkaBezwzgledna(katalog);
    const QString nazwaCelu = QDir::toNativeSeparators(cel);

    Store &magazyn = Store::current();
    const Store::Entry wpis = magazyn.entry(cel);
    QString utworzony;
    if (wpis.kind != Store::Kind::Missing || wpis.link) {
        if (wpis.kind != Store::Kind::Directory)
            throw BladBudowyKatalogu(
                QStringLiteral("%1 nie jest katalogiem. %2 można utworzyć tylko w pustym albo "
                               "nowym katalogu.")
                    .arg(nazwaCelu, teksty.co));
        if (!magazyn.list(cel).isEmpty())
            throw BladBudowyKatalogu(
                QStringLiteral("Katalog %1 nie jest pusty. %2 można utworzyć tylko w pustym albo "
                               "nowym katalogu.")
                    .arg(nazwaCelu, teksty.co));
    } else {
        utworzony = pierwszyBrakujacy(cel);
    }

    const auto niepowodzenie = [&](const QString &przyczyna) {
        usunUtworzone(cel, utworzony);
        return BladBudowyKatalogu(teksty.nieUdalo.arg(nazwaCelu, przyczyna));
    };
    try {
        // The parents may stop half-way, so making them is part of what a failure undoes.
        UtworzKatalogi(QFileInfo(cel).absolutePath());
        // The data root is made whole beside its place under a temporary name and moved there in
        // one step: a run killed half-way leaves no half-made data root, only a temporary that
        // the next run removes.
        const std::unique_ptr<DirectoryUnderConstruction> budowa = magazyn.buildDirectory(cel);
        if (!budowa)
            throw BladBudowyKatalogu(QStringLiteral("Nie można utworzyć katalogu obok %1: %2.")
                                         .arg(nazwaCelu, magazyn.lastError()));
        zawartosc(budowa->path());
        if (!budowa->moveInto())
            throw BladBudowyKatalogu(QStringLiteral("Nie można nadać katalogowi nazwy %1: %2.")
                                         .arg(nazwaCelu, magazyn.lastError()));
    } catch (const EngineError &blad) {
        throw niepowodzenie(blad.message());
    } catch (const BladBudowyKatalogu &blad) {
        throw niepowodzenie(blad.message());
    }
}

} // namespace rawen
