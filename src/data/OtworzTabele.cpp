#include "data/OtworzTabele.h"

#include "data/PlikStruktury.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/AppContext.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "store/Store.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace rawen {

namespace {

QString naglowekBledu(const QString &nazwa, const QString &opis)
{
    return QStringLiteral("Błąd otwarcia bazy : ") + opis + QStringLiteral("\r") +
           QStringLiteral("Baza : ") + nazwa + QStringLiteral(".DB") + QStringLiteral("\r");
}

QString bladOtwarcia(const QString &nazwa, const QString &opis)
{
    return naglowekBledu(nazwa, opis) +
           QStringLiteral("Użyj polecenia Narzędzia/Naprawa indeksów.") + QStringLiteral("\r") +
           QStringLiteral("Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM");
}

// The message for a table that did not open. A damaged or missing table gets the repair hint;
// a cause that no repair or restore mends is named as what it is.
QString bladOtwarcia(const QString &nazwa, const QString &opis, const EngineError &blad)
{
    switch (blad.kind()) {
    case EngineError::Locked:
        return naglowekBledu(nazwa, opis) +
               QStringLiteral("Baza jest zablokowana przez inny program.\r"
                              "Zakończ pracę z tą bazą w innych programach i uruchom program "
                              "ponownie.");
    case EngineError::NoAccess:
        return naglowekBledu(nazwa, opis) +
               QStringLiteral("Brak uprawnień do odczytu pliku bazy.\r"
                              "Poproś administratora o nadanie uprawnień do katalogu danych.");
    case EngineError::PathTooLong:
        return naglowekBledu(nazwa, opis) +
               QStringLiteral("Ścieżka dostępu do bazy jest za długa.\r"
                              "Przenieś dane do katalogu o krótszej ścieżce.");
    case EngineError::NeedsRecovery:
        return naglowekBledu(nazwa, opis) +
               QStringLiteral("Baza jest w trybie Tylko Do Odczytu, a jej ostatni zapis nie "
                              "został dokończony.\r"
                              "Bez zmiany atrybutu bazy nie można jej otworzyć.");
    default:
        return bladOtwarcia(nazwa, opis);
    }
}

// `nazwa` + `rozszerzenie` where the engine would look for the table `nazwa`: a bare name in the
// current directory, an existing file under any spelling of its name.
QString sciezkaObokTabeli(const Store &magazyn, const QString &nazwa, const QString &rozszerzenie)
{
    QString sciezka = nazwa + rozszerzenie;
    if (QDir::isRelativePath(sciezka)) {
        QString katalog = AppContext::current().currentDirectory;
        if (katalog.isEmpty())
            katalog = QDir::currentPath();
        sciezka = QDir(katalog).filePath(sciezka);
    }
    const QString znaleziona = magazyn.resolve(sciezka);
    if (magazyn.entry(znaleziona).kind != Store::Kind::Missing)
        return znaleziona;
    const QFileInfo info(sciezka);
    return QDir(magazyn.resolve(info.path())).filePath(info.fileName());
}

bool pytanieOAtrybut(const QString &nazwa)
{
    return MessageBoxes::current().question(
        QStringLiteral("Uwaga baza: ") + nazwa + QStringLiteral(".DB") + QStringLiteral("\r") +
        QStringLiteral("jest w trybie Tylko Do Odczytu") + QStringLiteral("\r") +
        QStringLiteral("Czy zmienić automatycznie atrybut Bazy?"));
}

bool zapisywalny(const Store::Entry &wpis)
{
    return wpis.kind != Store::Kind::Missing && !wpis.readOnly;
}

// Gives the owner write permission on the table and every file of its name.
void zdejmijAtrybut(Store &magazyn, const QString &nazwa)
{
    const QString plikTabeli = sciezkaObokTabeli(magazyn, nazwa, QStringLiteral(".DB"));
    const QString katalog = QFileInfo(plikTabeli).absolutePath();
    const QString przedrostek = QFileInfo(nazwa).fileName() + QLatin1Char('.');
    QStringList pliki;
    // Every entry but a directory: a link that leads nowhere is reported, not passed over.
    for (const Store::Entry &wpis : magazyn.list(katalog)) {
        if (wpis.kind != Store::Kind::Directory &&
            wpis.name.startsWith(przedrostek, Qt::CaseInsensitive))
            pliki << wpis.name;
    }
    std::sort(pliki.begin(), pliki.end());
    for (const QString &plik : std::as_const(pliki)) {
        const QString sciezka = katalog + u'/' + plik;
        // Read back: a file system may take the change without making it.
        if (!magazyn.clearReadOnly(sciezka) || !zapisywalny(magazyn.entry(sciezka)))
            MessageBoxes::current().plain(
                QStringLiteral("Próba automatycznej zmiany atrybutu niepowiodła się.\r"
                               "Proszę atrybuty bazy zmienic ręcznie."));
    }
}

void naprawAtrybutTylkoDoOdczytu(Table &tabela, const QString &nazwa)
{
    Store &magazyn = tabela.session()->store();
    const QString plikTabeli = sciezkaObokTabeli(magazyn, nazwa, QStringLiteral(".DB"));
    if (!magazyn.entry(plikTabeli).readOnly)
        return;
    if (!pytanieOAtrybut(nazwa))
        return;
    tabela.close();
    zdejmijAtrybut(magazyn, nazwa);
    tabela.open();
}

// A structure file is whole when it runs from its first line to its last; one cut off by an
// earlier failure, or left empty, is written anew.
bool plikStrukturyCaly(const Store &magazyn, const QString &sciezka)
{
    QByteArray tresc;
    try {
        tresc = magazyn.readFile(sciezka);
    } catch (const EngineError &) {
        return true; // something is there that this program cannot judge: left alone
    }
    return tresc.startsWith("STRUKTURA ZBIORU\r\n") && tresc.endsWith("KONIEC\r\n");
}

// `odNowa`: the table's layout has just changed, so a structure file that is there describes the
// old one and is replaced.
void zapiszStruktureTabeli(Store &magazyn, const QString &nazwa, bool odNowa)
{
    const QString sciezka = sciezkaObokTabeli(magazyn, nazwa, QStringLiteral(".STR"));
    const bool jest = magazyn.exists(sciezka);
    if (jest && (magazyn.entry(sciezka).kind != Store::Kind::File ||
                 (!odNowa && plikStrukturyCaly(magazyn, sciezka))))
        return;
    // A handle of its own, so the caller's table keeps its position and state.
    Table druga;
    druga.setTableName(nazwa + QStringLiteral(".DB"));
    QByteArray tresc;
    try {
        druga.open();
        druga.updateIndexDefs();
        tresc = TrescPlikuStruktury(druga.fieldDefs(), druga.indexDefs());
    } catch (const std::exception &) {
        return; // nothing is written; the next open tries again
    }
    try {
        // Whole or not at all: a cut-off file never stands in place of a good one.
        magazyn.writeFile(sciezka, tresc, jest);
    } catch (const EngineError &blad) {
        // A file written for support must not stop the program; the user learns it is missing.
        MessageBoxes::current().warning(
            QStringLiteral("Nie można zapisać pliku opisu struktury %1.\rPrzyczyna: %2")
                .arg(QFileInfo(sciezka).fileName(), blad.cause()));
    }
}

} // namespace

bool OtworzTabele(Table &tabela, const QString &nazwa, const QString &opis)
{
    try {
        tabela.close();
        tabela.setTableName(nazwa + QStringLiteral(".DB"));
        tabela.open();
    } catch (const EngineError &blad) {
        // A read-only table whose last write was cut short opens only once that write can be
        // rolled back: the attribute repair is the way in.
        if (blad.kind() == EngineError::NeedsRecovery && pytanieOAtrybut(nazwa)) {
            zdejmijAtrybut(tabela.session()->store(), nazwa);
            tabela.open();
        } else {
            if (!opis.isEmpty())
                MessageBoxes::current().plain(bladOtwarcia(nazwa, opis, blad));
            return false;
        }
    } catch (const std::exception &) {
        if (!opis.isEmpty())
            MessageBoxes::current().plain(bladOtwarcia(nazwa, opis));
        return false;
    }

    naprawAtrybutTylkoDoOdczytu(tabela, nazwa);

    bool przebudowana = false;
    if (nazwa.endsWith(QLatin1String("FIRMA"), Qt::CaseSensitive)) {
        const int polaPrzed = tabela.fieldCount();
        try {
            AktualizujTabeleFirmy(tabela);
        } catch (const BladPrzebudowyTabeliFirmy &blad) {
            // The old table is in place and open; the user must still learn that the upgrade
            // did not happen, and why.
            MessageBoxes::current().error(blad.message());
        } catch (const std::exception &) {
        }
        // Callers read the record the table opened on, so a table the upgrade left closed is
        // reported as not opened.
        if (!tabela.isOpen()) {
            if (!opis.isEmpty())
                MessageBoxes::current().plain(bladOtwarcia(nazwa, opis));
            return false;
        }
        przebudowana = tabela.fieldCount() != polaPrzed;
    }

    if (!opis.isEmpty())
        zapiszStruktureTabeli(tabela.session()->store(), nazwa, przebudowana);
    return true;
}

void ZapiszTabele(Table &tabela)
{
    if (!tabela.isOpen())
        return;
    if (tabela.state() == Table::dsEdit || tabela.state() == Table::dsInsert) {
        try {
            tabela.post();
        } catch (const EngineError &) {
            tabela.cancel();
            MessageBoxes::current().error(QStringLiteral("Błąd zapisu"));
        }
    }
    tabela.flushBuffers();
}

} // namespace rawen
