#include "install/StronaPodrecznika.h"

#include "data/Wsparcie.h"

#include <QRegularExpression>

namespace rawen {

namespace {

// Text as roff reads it: a backslash is a backslash, a minus is a minus (options are typed with
// it), and a line never begins as a request would.
QString tekst(const QString &zrodlo)
{
    QString wynik = zrodlo;
    wynik.replace(u'\\', QStringLiteral("\\e"));
    wynik.replace(u'-', QStringLiteral("\\-"));
    return wynik;
}

// A line of text already in roff's terms.
QString linia(const QString &roff)
{
    return roff.startsWith(u'.') || roff.startsWith(u'\'') ? QStringLiteral("\\&") + roff : roff;
}

QString wiersz(const QString &zrodlo)
{
    return linia(tekst(zrodlo));
}

// A way of calling the program: the program and its options in bold, what the user puts in
// place of a word in upper case (KATALOG, RRRR) in italics, brackets and bars as they are.
QString wywolanie(const QString &zrodlo)
{
    static const QRegularExpression slowo(QStringLiteral("[^\\s\\[\\]|]+"));
    QString wynik;
    qsizetype koniec = 0;
    for (QRegularExpressionMatchIterator it = slowo.globalMatch(zrodlo); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        wynik += tekst(zrodlo.mid(koniec, m.capturedStart() - koniec));
        const QString s = m.captured();
        const bool stale = s.startsWith(QLatin1String("--")) || s == QLatin1String("rawen") ||
                           s == QLatin1String("rok");
        wynik += (stale ? QStringLiteral("\\fB") : QStringLiteral("\\fI")) + tekst(s) +
                 QStringLiteral("\\fR");
        koniec = m.capturedEnd();
    }
    return linia(wynik + tekst(zrodlo.mid(koniec)));
}

QString sekcja(const QString &nazwa)
{
    return QStringLiteral(".SH \"%1\"\n").arg(nazwa);
}

} // namespace

QString StronaPodrecznika(const QList<WierszPomocy> &wiersze, const OpisPodrecznika &opis)
{
    QString s;
    s += QStringLiteral(".\\\" Made by rawen-generator from the program's list of commands.\n");
    s += QStringLiteral(".TH RAWEN 1 \"%1\" \"RAWEN 2.0\" \"Polecenia użytkownika\"\n")
             .arg(opis.data);
    // Polish words broken by English rules would be broken wrongly.
    s += QStringLiteral(".nh\n.ad l\n");
    s += sekcja(QStringLiteral("NAZWA"));
    s += QStringLiteral("rawen \\- program biura rachunkowego: rejestr firm, otwarcie roku, "
                        "archiwum i moduły księgowe\n");

    s += sekcja(QStringLiteral("SKŁADNIA"));
    for (const WierszPomocy &w : wiersze)
        s += wywolanie(w.wywolanie) + QStringLiteral("\n.br\n");

    s += sekcja(QStringLiteral("OPIS"));
    s += wiersz(QStringLiteral(
             "RAWEN 2.0 prowadzi rejestr firm biura rachunkowego: zakłada i kasuje firmy, otwiera "
             "nowy rok obrachunkowy, archiwizuje i odtwarza dane, drukuje i uruchamia moduły "
             "księgowe "
             "pakietu dla wybranej firmy.")) +
         u'\n';
    s += QStringLiteral(".PP\n");
    s +=
        wiersz(QStringLiteral(
            "Dane biura leżą w katalogu danych: firma 000 w nim samym (tabela FIRMA.DB i tabela "
            "konfiguracji RAWEN.DB), firmy 001 do 999 w katalogach FIRMAnnn, lata w katalogach "
            "RRRR, tabele wspólne w katalogu BAZA. Program uruchomiony bez KATALOGU otwiera "
            "katalog, "
            "w którym sam leży, jeśli jest on katalogiem danych, inaczej katalog zapamiętany przy "
            "poprzednim uruchomieniu; przy pierwszym uruchomieniu pyta, czy otworzyć istniejący "
            "katalog danych, utworzyć nowy, pusty katalog dla nowego biura, czy katalog z danymi "
            "demonstracyjnymi. Wybór zmienia przycisk „Katalog danych” w oknie głównym i polecenie "
            "rawen --wybierz-katalog.")) +
        u'\n';

    s += sekcja(QStringLiteral("POLECENIA"));
    static const QRegularExpression opcja(QStringLiteral("^\\s*(--\\S+(?: \\S+)*?)\\s{2,}(.*)$"));
    for (const WierszPomocy &w : wiersze) {
        const QStringList linie = w.opis.split(u'\n');
        s += QStringLiteral(".TP\n") + wywolanie(w.wywolanie) + u'\n' + wiersz(linie.first()) +
             u'\n';
        bool opcje = false;
        for (const QString &linia : linie.mid(1)) {
            const QRegularExpressionMatch m = opcja.match(linia);
            if (!opcje)
                s += QStringLiteral(".RS\n");
            opcje = true;
            if (m.hasMatch())
                s += QStringLiteral(".TP\n") + wywolanie(m.captured(1)) + u'\n' +
                     wiersz(m.captured(2)) + u'\n';
            else
                s += QStringLiteral(".PP\n") + wiersz(linia.trimmed()) + u'\n';
        }
        if (opcje)
            s += QStringLiteral(".RE\n");
    }

    s += sekcja(QStringLiteral("UWAGI"));
    for (qsizetype i = 0; i < opis.uwagi.size(); ++i)
        s += (i ? QStringLiteral(".PP\n") : QString()) + wiersz(opis.uwagi[i]) + u'\n';

    s += sekcja(QStringLiteral("PLIKI"));
    const QString instalacja = opis.katalogInstalacji.endsWith(u'/')
                                   ? opis.katalogInstalacji
                                   : opis.katalogInstalacji + u'/';
    const QList<QPair<QString, QString>> pliki{
        {QStringLiteral("~/.config/RAWEN/rawen.ini"), QStringLiteral("zapamiętany katalog danych")},
        {instalacja + QStringLiteral("moduly/"),
         QStringLiteral("programy modułów pakietu instalowane obok programu (harnol.exe, "
                        "dremot.exe ...); moduł w katalogu danych ma pierwszeństwo")},
        {instalacja + QStringLiteral("rawen-modul-demo"),
         QStringLiteral("zastępczy program modułu, który rawen --demo kopiuje pod nazwą każdego "
                        "modułu")},
        {QStringLiteral("/etc/xdg/QV/DRUK.ini, ~/.config/QV/DRUK.ini"),
         QStringLiteral("ustawienia wydruku")},
    };
    for (const auto &[plik, co] : pliki)
        s += QStringLiteral(".TP\n\\fI") + tekst(plik) + QStringLiteral("\\fR\n") + wiersz(co) +
             u'\n';

    s += sekcja(QStringLiteral("POMOC"));
    s += wiersz(QStringLiteral("Pomoc techniczna: %1, tel. %2.")
                    .arg(Wsparcie::email(), Wsparcie::telefon())) +
         u'\n';
    return s;
}

} // namespace rawen
