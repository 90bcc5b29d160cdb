#include "data/WykazFirm.h"

#include "data/Table.h"
#include "platform/EngineError.h"
#include "store/Store.h"

#include <QDir>

#include <algorithm>
#include <optional>

namespace rawen {

namespace {

// A firm another program is writing is passed over quickly: at start-up the data module has
// already waited the full lock timeout for firm 000's table, and a register of hundreds of firms
// must not wait that long for each.
constexpr int kCzekanieNaBlokade = 250;

// The short name of the firm table `sciezka`; the mark of a locked firm; nothing when it does not
// open.
std::optional<QString> skrot(Table &tabela, const QString &sciezka)
{
    try {
        tabela.close();
        tabela.setTableName(sciezka);
        tabela.open();
        const Field pole = tabela.findField(QStringLiteral("SKROT"));
        const QString tekst = pole.isValid() ? pole.asString() : QString();
        tabela.close();
        return tekst;
    } catch (const EngineError &blad) {
        tabela.close();
        if (blad.kind() == EngineError::Locked)
            return OpisFirmyZablokowanej();
        return std::nullopt;
    }
}

} // namespace

QString OpisFirmyZablokowanej()
{
    return QStringLiteral("(zablokowana przez inny program)");
}

QList<FirmaWykazu> FirmyWykazu(const QString &katalogGlowny, Table &tabela)
{
    // Of each firm table only the short name is read, and a lock is waited for briefly.
    struct Przywroc
    {
        Table &tabela;
        const QStringList pola = tabela.fetchedFields();
        const int czekanie = tabela.session()->lockTimeout();
        ~Przywroc()
        {
            tabela.setFetchedFields(pola);
            tabela.session()->setLockTimeout(czekanie);
        }
    } przywroc{tabela};
    tabela.setFetchedFields({QStringLiteral("SKROT")});
    tabela.session()->setLockTimeout(qMin(przywroc.czekanie, kCzekanieNaBlokade));

    QList<FirmaWykazu> firmy;
    const std::optional<QString> firma000 =
        skrot(tabela, katalogGlowny + QStringLiteral("FIRMA.DB"));
    if (!firma000)
        return firmy;
    firmy << FirmaWykazu{QStringLiteral("000 ") + *firma000, katalogGlowny};

    // FIRMA* as a case-blind file system matches it: directories only, hidden ones too.
    QList<Store::Entry> wpisy = tabela.session()->store().list(katalogGlowny);
    // By name, case-blind, as the list has always been shown.
    std::sort(wpisy.begin(), wpisy.end(), [](const Store::Entry &a, const Store::Entry &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const Store::Entry &wpis : std::as_const(wpisy)) {
        if (wpis.kind != Store::Kind::Directory ||
            !wpis.name.startsWith(QLatin1String("FIRMA"), Qt::CaseInsensitive))
            continue;
        const std::optional<QString> nazwa = skrot(
            tabela, katalogGlowny + wpis.name + QDir::separator() + QStringLiteral("FIRMA.DB"));
        // The directory as it is in the store: the module is sent to this one, whatever case its
        // name is in and whatever else its name holds after the number.
        if (nazwa)
            firmy << FirmaWykazu{wpis.name.mid(5, 3) + u' ' + *nazwa,
                                 katalogGlowny + wpis.name + QDir::separator()};
    }
    return firmy;
}

QStringList WykazFirm(const QString &katalogGlowny, Table &tabela)
{
    QStringList pozycje;
    for (const FirmaWykazu &firma : FirmyWykazu(katalogGlowny, tabela))
        pozycje << firma.pozycja;
    return pozycje;
}

} // namespace rawen
