#include "data/FirmyPolecenia.h"

#include "data/Table.h"
#include "data/WykazFirm.h"
#include "platform/AppContext.h"
#include "platform/EngineError.h"
#include "platform/Konsola.h"
#include "store/DyskSieciowy.h"
#include "store/Store.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace rawen {

namespace {

QString zSeparatorem(const QString &katalog)
{
    return katalog.endsWith(u'/') || katalog.endsWith(QDir::separator())
               ? katalog
               : katalog + QDir::separator();
}

// Firm 000: the data root's firm table gives its short name and, in DR, where its years are.
FirmaPolecenia firmaZero(const QString &katalogGlowny)
{
    FirmaPolecenia firma{QStringLiteral("000"), QString(), katalogGlowny, katalogGlowny};
    Table tabela;
    tabela.setTableName(katalogGlowny + QStringLiteral("FIRMA.DB"));
    try {
        tabela.open();
        const Field skrot = tabela.findField(QStringLiteral("SKROT"));
        const Field dr = tabela.findField(QStringLiteral("DR"));
        if (skrot.isValid())
            firma.nazwa = skrot.asString();
        if (dr.isValid() && !dr.asString().trimmed().isEmpty())
            firma.katalogDanych = zSeparatorem(dr.asString().trimmed());
    } catch (const EngineError &) {
        // Without its firm table the firm's years are in the data root, as at start-up.
    }
    return firma;
}

} // namespace

QString FirmaPolecenia::opis() const
{
    return nazwa.isEmpty() ? QStringLiteral("Firma %1").arg(numer)
                           : QStringLiteral("Firma %1 (%2)").arg(numer, nazwa);
}

std::optional<QString> KatalogGlownyPolecenia(const QString &podany, Konsola &konsola)
{
    QString katalog = podany.isEmpty() ? AppContext::current().dataRoot() : podany;
    if (QDir::isRelativePath(katalog)) {
        const QString biezacy = AppContext::current().currentDirectory;
        katalog = QDir(biezacy.isEmpty() ? QDir::currentPath() : biezacy).absoluteFilePath(katalog);
    }
    katalog = zSeparatorem(QDir::cleanPath(katalog));
    if (Store::current().entry(katalog).kind != Store::Kind::Directory) {
        konsola.komunikat(
            QStringLiteral("Brak katalogu głównego %1.").arg(QDir::toNativeSeparators(katalog)));
        return std::nullopt;
    }
    if (!DyskDoPolecenia({katalog}, konsola))
        return std::nullopt;
    return katalog;
}

QString BladOpcjiFirm(const ArgumentyPolecenia &a)
{
    if (a.ma(QStringLiteral("--firma")) && a.ma(QStringLiteral("--wszystkie-firmy")))
        return QStringLiteral("Opcje --firma i --wszystkie-firmy wykluczają się.");
    const QString numer = a.wartosc(QStringLiteral("--firma"));
    if (a.ma(QStringLiteral("--firma")) &&
        !QRegularExpression(QStringLiteral("^[0-9]{3}$")).match(numer).hasMatch())
        return QStringLiteral("Numer firmy musi mieć trzy cyfry: %1.").arg(numer);
    return QString();
}

std::optional<QList<FirmaPolecenia>> FirmyPolecenia(const ArgumentyPolecenia &a,
                                                    const QString &katalogGlowny, Konsola &konsola)
{
    QList<FirmaPolecenia> firmy;
    const QString numer = a.wartosc(QStringLiteral("--firma"));
    if (a.ma(QStringLiteral("--wszystkie-firmy"))) {
        Table tabela;
        QList<FirmaWykazu> wykaz = FirmyWykazu(katalogGlowny, tabela);
        std::sort(wykaz.begin(), wykaz.end(), [](const FirmaWykazu &x, const FirmaWykazu &y) {
            return x.pozycja.compare(y.pozycja, Qt::CaseInsensitive) < 0;
        });
        for (const FirmaWykazu &f : wykaz) {
            if (f.pozycja.startsWith(QLatin1String("000")))
                firmy << firmaZero(katalogGlowny);
            else
                firmy << FirmaPolecenia{f.pozycja.left(3), f.pozycja.mid(4), f.katalog, f.katalog};
        }
        if (firmy.isEmpty()) {
            konsola.komunikat(
                QStringLiteral("W katalogu %1 nie ma rejestru firm (brak tabeli FIRMA.DB).")
                    .arg(QDir::toNativeSeparators(katalogGlowny)));
            return std::nullopt;
        }
    } else if (numer.isEmpty() || numer == QLatin1String("000")) {
        firmy << firmaZero(katalogGlowny);
    } else {
        const QString katalogFirmy =
            Store::current().resolve(katalogGlowny + QStringLiteral("FIRMA") + numer);
        if (Store::current().entry(katalogFirmy).kind != Store::Kind::Directory) {
            konsola.komunikat(QStringLiteral("Brak katalogu firmy %1.")
                                  .arg(QDir::toNativeSeparators(katalogFirmy)));
            return std::nullopt;
        }
        FirmaPolecenia firma{numer, QString(), zSeparatorem(katalogFirmy),
                             zSeparatorem(katalogFirmy)};
        Table tabela;
        tabela.setTableName(firma.katalogFirmy + QStringLiteral("FIRMA.DB"));
        try {
            tabela.open();
            const Field skrot = tabela.findField(QStringLiteral("SKROT"));
            if (skrot.isValid())
                firma.nazwa = skrot.asString();
        } catch (const EngineError &) {
        }
        firmy << firma;
    }
    // A firm's years may lie elsewhere than the data root (its DR): there they are judged on
    // their own, and a refusal stops the command before it touches any firm.
    const QString rodzajKatalogu = SprawdzDyskSieciowy(katalogGlowny, ZgodaUruchomienia()).rodzaj;
    for (const FirmaPolecenia &firma : std::as_const(firmy)) {
        if (QDir(firma.katalogDanych) == QDir(katalogGlowny))
            continue;
        const OcenaDysku ocena = SprawdzDyskSieciowy(firma.katalogDanych, ZgodaUruchomienia());
        if (ocena.odmowa || (!ocena.komunikat.isEmpty() && ocena.rodzaj != rodzajKatalogu))
            konsola.komunikat(firma.opis() + QStringLiteral(": ") +
                              QString(ocena.komunikat).replace(u'\r', u'\n'));
        if (ocena.odmowa)
            return std::nullopt;
    }
    return firmy;
}

} // namespace rawen
