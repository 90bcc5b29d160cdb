#include "data/OtworzTabele.h"

#include "data/EngineError.h"
#include "data/PlikStruktury.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/AppContext.h"
#include "platform/FileNames.h"
#include "platform/MessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace rawen {

namespace {

QString bladOtwarcia(const QString &nazwa, const QString &opis)
{
    return QStringLiteral("Błąd otwarcia bazy : ") + opis + QStringLiteral("\r") +
           QStringLiteral("Baza : ") + nazwa + QStringLiteral(".DB") + QStringLiteral("\r") +
           QStringLiteral("Użyj polecenia Narzędzia/Naprawa indeksów.") + QStringLiteral("\r") +
           QStringLiteral("Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM");
}

// `nazwa` + `rozszerzenie` where the engine would look for the table `nazwa`: a bare name in the
// current directory, an existing file under any spelling of its name.
QString sciezkaObokTabeli(const QString &nazwa, const QString &rozszerzenie)
{
    QString sciezka = nazwa + rozszerzenie;
    if (QDir::isRelativePath(sciezka)) {
        QString katalog = AppContext::current().currentDirectory;
        if (katalog.isEmpty())
            katalog = QDir::currentPath();
        sciezka = QDir(katalog).filePath(sciezka);
    }
    const QString znaleziona = resolveCaseInsensitive(sciezka);
    if (QFileInfo::exists(znaleziona))
        return znaleziona;
    const QFileInfo info(sciezka);
    return QDir(resolveCaseInsensitive(info.path())).filePath(info.fileName());
}

void naprawAtrybutTylkoDoOdczytu(Table &tabela, const QString &nazwa)
{
    const QString plikTabeli = sciezkaObokTabeli(nazwa, QStringLiteral(".DB"));
    if (!isReadOnly(plikTabeli))
        return;
    if (!MessageBoxes::current().question(
            QStringLiteral("Uwaga baza: ") + nazwa + QStringLiteral(".DB") + QStringLiteral("\r") +
            QStringLiteral("jest w trybie Tylko Do Odczytu") + QStringLiteral("\r") +
            QStringLiteral("Czy zmienić automatycznie atrybut Bazy?")))
        return;
    tabela.close();
    const QDir katalog = QFileInfo(plikTabeli).absoluteDir();
    const QString przedrostek = QFileInfo(nazwa).fileName() + QLatin1Char('.');
    const QStringList pliki =
        katalog.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &plik : pliki) {
        if (!plik.startsWith(przedrostek, Qt::CaseInsensitive))
            continue;
        const QString sciezka = katalog.filePath(plik);
        clearReadOnly(sciezka);
        if (isReadOnly(sciezka))
            MessageBoxes::current().plain(
                QStringLiteral("Próba automatycznej zmiany atrybutu niepowiodła się.\r"
                               "Proszę atrybuty bazy zmienic ręcznie."));
    }
    tabela.open();
}

void zapiszStruktureTabeli(const QString &nazwa)
{
    const QString sciezka = sciezkaObokTabeli(nazwa, QStringLiteral(".STR"));
    if (existsAnyKind(sciezka))
        return;
    QFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    // A handle of its own, so the caller's table keeps its position and state.
    Table druga;
    druga.setTableName(nazwa + QStringLiteral(".DB"));
    try {
        druga.open();
    } catch (const std::exception &) {
        return; // the empty file stays and marks the structure as written
    }
    try {
        druga.updateIndexDefs();
        ZapiszPlikStruktury(plik, druga.fieldDefs(), druga.indexDefs());
    } catch (const EngineError &) {
        // A cut-off structure file would never be written again; without one the next open tries
        // anew.
        plik.remove();
        throw;
    }
}

} // namespace

bool OtworzTabele(Table &tabela, const QString &nazwa, const QString &opis)
{
    try {
        tabela.close();
        tabela.setTableName(nazwa + QStringLiteral(".DB"));
        tabela.open();
    } catch (const std::exception &) {
        if (!opis.isEmpty())
            MessageBoxes::current().plain(bladOtwarcia(nazwa, opis));
        return false;
    }

    naprawAtrybutTylkoDoOdczytu(tabela, nazwa);

    if (nazwa.endsWith(QLatin1String("FIRMA"), Qt::CaseSensitive)) {
        try {
            AktualizujTabeleFirmy(tabela);
        } catch (const BladPrzebudowyTabeliFirmy &blad) {
            // The old table is back in place and open; the user must still learn that the
            // upgrade did not happen.
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
    }

    if (!opis.isEmpty())
        zapiszStruktureTabeli(nazwa);
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
