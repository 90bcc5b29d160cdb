#include "year/PolecenieOtworzRok.h"

#include "data/EngineError.h"
#include "data/Session.h"
#include "data/Table.h"
#include "platform/AppContext.h"
#include "platform/FileNames.h"
#include "platform/Konsola.h"
#include "platform/OknoPostepu.h"
#include "shell/WykazFirm.h"
#include "year/KopiujKatalog.h"
#include "year/OtwarcieRoku.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace rawen {

namespace {

struct Firma
{
    QString numer;
    QString nazwa;
    QString katalogDanych; // with a closing separator
};

// The progress of one firm's copy, as a line on the terminal.
class PostepNaKonsoli final : public OknoPostepu
{
public:
    PostepNaKonsoli(Konsola &konsola, QString opis) : m_konsola(konsola), m_opis(std::move(opis)) {}
    void Start(const QString &, int total) override
    {
        m_razem = total;
        m_zrobione = 0;
    }
    void Postep() override { m_konsola.postep(m_opis, ++m_zrobione, m_razem); }
    void Stop() override { m_konsola.koniecPostepu(); }

private:
    Konsola &m_konsola;
    QString m_opis;
    int m_razem = 0;
    int m_zrobione = 0;
};

bool rok(const QString &tekst)
{
    static const QRegularExpression cztery(QStringLiteral("^[0-9]{4}$"));
    return cztery.match(tekst).hasMatch();
}

QString zSeparatorem(const QString &katalog)
{
    return katalog.endsWith(u'/') || katalog.endsWith(QDir::separator())
               ? katalog
               : katalog + QDir::separator();
}

// Firm 000: the data root's firm table gives its short name and, in DR, where its years are.
Firma firmaZero(const QString &katalogGlowny)
{
    Firma firma{QStringLiteral("000"), QString(), katalogGlowny};
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

// A table under `zrodlo` another program is writing, or "" when there is none.
QString tabelaZajeta(const QString &zrodlo)
{
    Session sesja(QStringLiteral("SPRAWDZENIE"));
    sesja.setLockTimeout(250);
    QDirIterator wpisy(zrodlo, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (wpisy.hasNext()) {
        const QString sciezka = wpisy.next();
        if (!sciezka.endsWith(QLatin1String("DB"), Qt::CaseInsensitive))
            continue;
        Table tabela(&sesja);
        tabela.setTableName(sciezka);
        try {
            tabela.open();
            if (tabela.isBeingWritten())
                return sciezka;
        } catch (const EngineError &blad) {
            if (blad.kind() == EngineError::Locked)
                return sciezka;
            // A table that does not open is the copy's to report.
        }
    }
    return QString();
}

void uzycie(Konsola &konsola, const QString &blad)
{
    if (!blad.isEmpty())
        konsola.komunikat(blad);
    konsola.komunikat(QStringLiteral("Użycie: rawen --otworz-rok ") + SkladniaOtworzRok());
}

} // namespace

QString SkladniaOtworzRok()
{
    return QStringLiteral("RRRR [--z-roku RRRR] [--firma NNN | --wszystkie-firmy] "
                          "[KATALOG_GLOWNY]");
}

QString OpisOtworzRok()
{
    return QStringLiteral(
        "otwiera rok RRRR (na podstawie roku poprzedniego albo --z-roku) dla firmy 000, dla "
        "firmy NNN albo dla wszystkich firm rejestru, jak przycisk START w oknie otwarcia roku; "
        "istniejące tabele nowego roku zostają bez zmian, dodawane są brakujące; firma, której "
        "tabelę zapisuje inny program, jest pomijana");
}

int PolecenieOtworzRok(const QStringList &argumenty, Konsola &konsola)
{
    const ArgumentyPolecenia a(argumenty, {QStringLiteral("--z-roku"), QStringLiteral("--firma")},
                               {QStringLiteral("--wszystkie-firmy")});
    if (!a.poprawne()) {
        uzycie(konsola, a.blad());
        return 2;
    }
    const QStringList reszta = a.pozostale();
    if (reszta.isEmpty() || reszta.size() > 2) {
        uzycie(konsola, reszta.size() > 2
                            ? QStringLiteral("Za dużo argumentów: %1.").arg(reszta.join(u' '))
                            : QString());
        return 2;
    }
    if (!rok(reszta.first())) {
        uzycie(konsola, QStringLiteral("Rok musi mieć cztery cyfry: %1.").arg(reszta.first()));
        return 2;
    }
    const QString nowyRok = reszta.first();
    const QString zRoku = a.ma(QStringLiteral("--z-roku")) ? a.wartosc(QStringLiteral("--z-roku"))
                                                           : QString::number(nowyRok.toInt() - 1);
    if (!rok(zRoku)) {
        uzycie(konsola, QStringLiteral("Rok musi mieć cztery cyfry: %1.").arg(zRoku));
        return 2;
    }
    if (a.ma(QStringLiteral("--firma")) && a.ma(QStringLiteral("--wszystkie-firmy"))) {
        uzycie(konsola, QStringLiteral("Opcje --firma i --wszystkie-firmy wykluczają się."));
        return 2;
    }
    const QString numer = a.wartosc(QStringLiteral("--firma"));
    if (a.ma(QStringLiteral("--firma")) &&
        !QRegularExpression(QStringLiteral("^[0-9]{3}$")).match(numer).hasMatch()) {
        uzycie(konsola, QStringLiteral("Numer firmy musi mieć trzy cyfry: %1.").arg(numer));
        return 2;
    }

    QString katalogGlowny = reszta.size() == 2 ? reszta.at(1) : AppContext::current().dataRoot();
    if (QDir::isRelativePath(katalogGlowny)) {
        QString biezacy = AppContext::current().currentDirectory;
        katalogGlowny =
            QDir(biezacy.isEmpty() ? QDir::currentPath() : biezacy).absoluteFilePath(katalogGlowny);
    }
    katalogGlowny = zSeparatorem(QDir::cleanPath(katalogGlowny));
    if (!QFileInfo(katalogGlowny).isDir()) {
        konsola.komunikat(QStringLiteral("Brak katalogu głównego %1.")
                              .arg(QDir::toNativeSeparators(katalogGlowny)));
        return 1;
    }

    QList<Firma> firmy;
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
                firmy << Firma{f.pozycja.left(3), f.pozycja.mid(4), f.katalog};
        }
        if (firmy.isEmpty()) {
            konsola.komunikat(QStringLiteral("W katalogu %1 nie ma rejestru firm (brak tabeli "
                                             "FIRMA.DB).")
                                  .arg(QDir::toNativeSeparators(katalogGlowny)));
            return 1;
        }
    } else if (numer.isEmpty() || numer == QLatin1String("000")) {
        firmy << firmaZero(katalogGlowny);
    } else {
        const QString katalogFirmy =
            resolveCaseInsensitive(katalogGlowny + QStringLiteral("FIRMA") + numer);
        if (!QFileInfo(katalogFirmy).isDir()) {
            konsola.komunikat(QStringLiteral("Brak katalogu firmy %1.")
                                  .arg(QDir::toNativeSeparators(katalogFirmy)));
            return 1;
        }
        firmy << Firma{numer, QString(), zSeparatorem(katalogFirmy)};
    }

    int nieudane = 0;
    for (const Firma &firma : firmy) {
        const QString kto = firma.nazwa.isEmpty()
                                ? QStringLiteral("Firma %1").arg(firma.numer)
                                : QStringLiteral("Firma %1 (%2)").arg(firma.numer, firma.nazwa);
        const QString zrodlo = firma.katalogDanych + zRoku;
        if (!QFileInfo(zrodlo).isDir()) {
            konsola.komunikat(QStringLiteral("%1: brak katalogu roku %2 (%3); rok %4 nie został "
                                             "otwarty.")
                                  .arg(kto, zRoku, QDir::toNativeSeparators(zrodlo), nowyRok));
            ++nieudane;
            continue;
        }
        const QString zajeta = tabelaZajeta(zrodlo);
        if (!zajeta.isEmpty()) {
            konsola.komunikat(QStringLiteral("%1: tabelę %2 zapisuje teraz inny program; rok %3 "
                                             "nie został otwarty, firma pominięta.")
                                  .arg(kto, QDir::toNativeSeparators(zajeta), nowyRok));
            ++nieudane;
            continue;
        }

        Session sesja(QStringLiteral("SESJA"));
        sesja.addPassword(QStringLiteral("jz"));
        Table TS(&sesja);
        PostepNaKonsoli postep(konsola, kto);
        postep.Start(QString(), LiczbaTabel(zrodlo));
        const PrzebiegKopii przebieg{[&](const QString &linia) { konsola.wynik(linia); }, &postep};
        const WynikOtwarciaRoku wynik = OtworzRok(
            TS, firma.katalogDanych, nowyRok, zRoku, przebieg, [] { return true; }, nullptr);
        postep.Stop();
        const QStringList bledy = wynik.bledy();
        const bool udane = wynik.zakonczone && bledy.isEmpty();
        if (!udane)
            ++nieudane;
        for (const QString &blad : bledy)
            konsola.komunikat(kto + QStringLiteral(": ") + blad);
        konsola.wynik(QStringLiteral("%1: rok %2 na podstawie %3 %4 – utworzono tabel: %5, bez "
                                     "zmian: %6, błędów: %7.")
                          .arg(kto, nowyRok, zRoku,
                               udane ? QStringLiteral("otwarty")
                                     : (wynik.zakonczone ? QStringLiteral("otwarty z błędami")
                                                         : QStringLiteral("NIE otwarty")))
                          .arg(wynik.kopia.utworzone.size())
                          .arg(wynik.kopia.istniejace)
                          .arg(bledy.size()));
    }
    return nieudane == 0 ? 0 : 1;
}

} // namespace rawen
