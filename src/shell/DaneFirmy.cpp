#include "shell/DaneFirmy.h"

#include "data/OtworzTabele.h"
#include "data/Session.h"
#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/Store.h"

namespace rawen {

namespace {

QString skrot(Table &tabela)
{
    if (!tabela.isOpen() || tabela.isEmpty())
        return QString();
    const Field pole = tabela.findField(QStringLiteral("SKROT"));
    return pole.isValid() ? pole.asString() : QString();
}

} // namespace

WynikDanychFirmy PokazDaneFirmy(Table &TFIRMA, const QString &katalogFirmy,
                                const std::function<void()> &daneFirmy)
{
    WynikDanychFirmy wynik;
    const QString nazwa = katalogFirmy + QStringLiteral("FIRMA");
    Table wskazana;
    wskazana.setTableName(nazwa);
    // Firm 000's table is the one the data module holds: the form edits it where it stands.
    const Store &magazyn = TFIRMA.session()->store();
    const QString wskazanaNaDysku = magazyn.canonicalPath(wskazana.fileName());
    if (TFIRMA.isOpen() && !wskazanaNaDysku.isEmpty() &&
        wskazanaNaDysku == magazyn.canonicalPath(TFIRMA.fileName())) {
        if (daneFirmy)
            daneFirmy();
        wynik.pokazane = true;
        wynik.skrot = skrot(TFIRMA);
        return wynik;
    }

    const QString nazwaPoprzedniej = TFIRMA.tableName();
    const bool poprzedniaOtwarta = TFIRMA.isOpen();
    const auto przywroc = [&] {
        TFIRMA.close();
        TFIRMA.setTableName(nazwaPoprzedniej);
        if (!poprzedniaOtwarta)
            return;
        try {
            TFIRMA.open();
            TFIRMA.first();
        } catch (const EngineError &blad) {
            wynik.bladPowrotu = blad.message();
        }
    };
    TFIRMA.close();
    try {
        if (OtworzTabele(TFIRMA, nazwa, QStringLiteral("Brak danych o firmie"))) {
            TFIRMA.first();
            if (daneFirmy)
                daneFirmy();
            wynik.pokazane = true;
            wynik.skrot = skrot(TFIRMA);
        }
    } catch (...) {
        // What the form raised reaches the caller's error box; the data module has its firm.
        przywroc();
        throw;
    }
    przywroc();
    return wynik;
}

} // namespace rawen
