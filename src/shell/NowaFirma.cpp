#include "shell/NowaFirma.h"

#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "format/Formatowanie.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "store/Store.h"

#include <QDir>

namespace rawen {

namespace {

constexpr int kNajwyzszyNumer = 999;

QString niemoznaUtworzyc(const QString &przyczyna)
{
    return QStringLiteral("Nie można utworzyć nowej firmy.\r") + przyczyna;
}

// Nothing in the directory but the temporaries an interrupted write left.
bool bezDanych(const Store &magazyn, const QString &katalog)
{
    for (const Store::Entry &wpis : magazyn.list(katalog)) {
        if (!isTemporaryName(wpis.name))
            return false;
    }
    return true;
}

// Neither the firm's name nor its short name was typed (the table may have no record at all).
bool bezNazwy(Table &tabela)
{
    if (tabela.isEmpty())
        return true;
    for (const char *pole : {"NAZWA1", "SKROT"}) {
        const Field f = tabela.findField(QLatin1String(pole));
        if (f.isValid() && !f.asString().trimmed().isEmpty())
            return false;
    }
    return true;
}

bool katalogWzorcowy(const Store &magazyn, const QString &sciezka)
{
    return magazyn.entry(magazyn.resolve(sciezka)).kind == Store::Kind::Directory;
}

// Runs the closing step however the block it guards is left.
struct NaKoniec
{
    const std::function<void()> &krok;
    ~NaKoniec()
    {
        if (krok)
            krok();
    }
};

} // namespace

MiejsceFirmy MiejsceNowejFirmy(const QString &katalogGlowny, const QStringList &pozycje,
                               const QString &rokRoboczy, const QStringList &pozostawione)
{
    MiejsceFirmy miejsce;
    const Store &magazyn = Store::current();
    // An item of a directory whose name does not go on with three digits (FIRMA12) has no number
    // to count.
    int najwyzszy = -1;
    for (const QString &pozycja : pozycje) {
        if (pozycja.size() < 3)
            continue;
        int numer = 0;
        for (int i = 0; i < 3 && numer >= 0; ++i) {
            const char16_t znak = pozycja.at(i).unicode();
            numer = znak >= u'0' && znak <= u'9' ? numer * 10 + (znak - u'0') : -1;
        }
        najwyzszy = qMax(najwyzszy, numer);
    }
    if (najwyzszy < 0) {
        miejsce.blad = niemoznaUtworzyc(
            QStringLiteral("Wykaz firm jest pusty: w katalogu programu brak tabeli danych o firmie "
                           "FIRMA.DB."));
        return miejsce;
    }

    for (int numer = najwyzszy + 1; numer <= kNajwyzszyNumer; ++numer) {
        const QString katalog =
            katalogGlowny + QStringLiteral("FIRMA") + FormatujLiczbe(QStringLiteral("999"), numer);
        const QString naDysku = magazyn.resolve(katalog);
        const bool pozostawiony = pozostawione.contains(naDysku);
        const bool jest = magazyn.exists(katalog);
        if (jest && !pozostawiony &&
            !(magazyn.entry(naDysku).kind == Store::Kind::Directory && bezDanych(magazyn, naDysku)))
            continue;
        miejsce.numer = numer;
        miejsce.katalog = jest ? naDysku : katalog;
        miejsce.zPoprzedniejProby = pozostawiony;
        break;
    }
    if (miejsce.katalog.isEmpty()) {
        miejsce.blad = niemoznaUtworzyc(
            QStringLiteral("Brak wolnego numeru firmy: numery firm kończą się na 999."));
        return miejsce;
    }

    // A firm without its first year and its shared tables would only fail in every module.
    for (const QString &wzor : {rokRoboczy, QStringLiteral("BAZA")}) {
        if (wzor.isEmpty() || !katalogWzorcowy(magazyn, katalogGlowny + wzor)) {
            miejsce.blad = niemoznaUtworzyc(QStringLiteral("Brak katalogu wzorcowego : ") +
                                            QDir::toNativeSeparators(katalogGlowny + wzor));
            miejsce.katalog.clear();
            return miejsce;
        }
    }
    return miejsce;
}

WynikNowejFirmy UtworzFirme(Table &TFIRMA, Table &Table1, const MiejsceFirmy &miejsce,
                            const QString &katalogGlowny, const QString &rokRoboczy,
                            const KrokiNowejFirmy &kroki)
{
    WynikNowejFirmy wynik;
    const QString nazwaPoprzedniej = TFIRMA.tableName();
    const bool poprzedniaOtwarta = TFIRMA.isOpen();
    TFIRMA.close();

    Store &magazyn = TFIRMA.session()->store();
    const QString katalog = miejsce.katalog;
    wynik.katalog = katalog + QDir::separator();
    // A directory that cannot be made is not reported here: the firm table below cannot be
    // made either, and that is.
    const bool nowyKatalog = !magazyn.exists(katalog) && magazyn.makeDirectory(katalog);
    const QString tabelaFirmy = katalog + QDir::separator() + QStringLiteral("FIRMA");
    Table1.close();
    Table1.setTableName(tabelaFirmy);
    if (miejsce.zPoprzedniejProby) {
        // What the user typed in the try that failed is offered again.
        try {
            Table1.open();
        } catch (const EngineError &) {
        }
    }
    try {
        AktualizujTabeleFirmy(Table1);
    } catch (const EngineError &) {
        // A table that is not whole does not open for TFIRMA below, which reports it.
    }
    TFIRMA.setTableName(tabelaFirmy);

    // However the creation ends, the data module's firm table names its firm again: the company
    // data, the archive date and the reminder keep working on it.
    const auto przywroc = [&] {
        TFIRMA.close();
        Table1.close();
        TFIRMA.setTableName(nazwaPoprzedniej);
        if (poprzedniaOtwarta) {
            try {
                TFIRMA.open();
                TFIRMA.first();
            } catch (const EngineError &blad) {
                wynik.bladPowrotu = blad.message();
            }
        }
    };
    try {
        TFIRMA.open();
        if (kroki.daneFirmy)
            kroki.daneFirmy();
        if (kroki.bezNazwy && bezNazwy(TFIRMA) && !kroki.bezNazwy()) {
            // Everything made so far is new: the firm table, and the directory when it was made
            // now. Nothing else has been written yet.
            TFIRMA.close();
            Table1.close();
            Table1.deleteTable();
            // Only the empty directory this creation made goes, never anything put in it since.
            if (nowyKatalog && magazyn.list(katalog).isEmpty())
                (void)magazyn.removeDirectory(katalog);
            wynik.zaniechana = true;
            przywroc();
            return wynik;
        }
        const QString rok = katalog + QDir::separator() + rokRoboczy;
        const QString baza = katalog + QDir::separator() + QStringLiteral("BAZA");
        (void)magazyn.makeDirectory(rok);
        (void)magazyn.makeDirectory(baza);
        if (kroki.pokazPrzygotowanie)
            kroki.pokazPrzygotowanie();
        const NaKoniec ukryj{kroki.ukryjPrzygotowanie};
        const QList<std::pair<QString, QString>> kopie{
            {magazyn.resolve(katalogGlowny + rokRoboczy), rok},
            {magazyn.resolve(katalogGlowny + QStringLiteral("BAZA")), baza}};
        for (const auto &[zrodlo, cel] : kopie) {
            WynikKopii kopia;
            if (kroki.kopiujKatalog) {
                kopia = kroki.kopiujKatalog(zrodlo, cel);
            } else {
                Table TS(TFIRMA.session());
                kopia = KopiujKatalogISprawdz(TS, zrodlo, cel, {});
            }
            // A firm whose tables are not all there is not added to the register.
            if (!kopia.bledy.isEmpty()) {
                wynik.bledy << kopia.bledy;
                break;
            }
        }
        if (wynik.bledy.isEmpty()) {
            const Field skrot = TFIRMA.findField(QStringLiteral("SKROT"));
            wynik.pozycja = FormatujLiczbe(QStringLiteral("999 "), miejsce.numer) +
                            (skrot.isValid() ? skrot.asString() : QString());
            wynik.utworzona = true;
        }
    } catch (const EngineError &blad) {
        wynik.bledy << blad.message();
    } catch (const std::exception &blad) {
        wynik.bledy << QString::fromUtf8(blad.what());
    }
    przywroc();
    return wynik;
}

} // namespace rawen
