#include "legacy/ImportKatalogu.h"

#include "format/Liczebniki.h"
#include "legacy/BladParadox.h"
#include "legacy/KonwersjaTabeli.h"
#include "platform/DurableFiles.h"
#include "platform/EngineError.h"
#include "platform/OknoPostepu.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>

namespace rawen {

namespace {

bool plikBlokady(const QString &nazwa)
{
    return nazwa.endsWith(QLatin1String(".LCK"), Qt::CaseInsensitive) ||
           nazwa.compare(QLatin1String("PDOXUSRS.NET"), Qt::CaseInsensitive) == 0;
}

// The old engine's companions of a table: its indexes, memos, validity checks, view and family.
bool rozszerzenieTowarzyszace(const QString &rozszerzenie)
{
    static const QRegularExpression towarzyszace(
        QStringLiteral("^(PX|MB|VAL|TV|FAM|X[0-9A-F]{2}|Y[0-9A-F]{2}|XG[0-9A-F]|YG[0-9A-F])$"),
        QRegularExpression::CaseInsensitiveOption);
    return towarzyszace.match(rozszerzenie).hasMatch();
}

bool jestBaza(const QString &nazwa)
{
    return nazwa.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive);
}

bool plikSqlite(const QString &sciezka)
{
    QFile plik(sciezka);
    return plik.open(QIODevice::ReadOnly) && plik.read(16).startsWith("SQLite format 3");
}

// Any entry at all beyond its header: the lock files of an unused root are empty or zeroed.
bool maWpisy(const QString &sciezka)
{
    QFile plik(sciezka);
    if (!QFileInfo(sciezka).isFile() || !plik.open(QIODevice::ReadOnly))
        return false;
    while (!plik.atEnd()) {
        const QByteArray kawalek = plik.read(1 << 16);
        if (kawalek.isEmpty())
            break;
        for (const char c : kawalek) {
            if (c != 0)
                return true;
        }
    }
    return false;
}

enum class Rodzaj { Katalog, Tabela, Plik, Pominiety, Nieregularny };

struct Wpis
{
    QString wzgledna;
    Rodzaj rodzaj;
};

QString natywna(const QString &sciezka)
{
    return QDir::toNativeSeparators(sciezka);
}

QString bezwzgledna(const QString &sciezka)
{
    return QDir::cleanPath(QFileInfo(sciezka).absoluteFilePath());
}

// What the old root holds, parents before what is in them; links are not followed and anything
// that is neither a file nor a folder is only named (never opened: a FIFO would hold the run).
QList<Wpis> spis(const QString &stary)
{
    QList<Wpis> wpisy;
    const QDir korzen(stary);
    QDirIterator it(stary, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QList<QFileInfo> wszystkie;
    while (it.hasNext()) {
        it.next();
        wszystkie << it.fileInfo();
    }
    // Tables of a folder by their names without case, to tell a companion from another file.
    QSet<QString> tabele;
    for (const QFileInfo &info : std::as_const(wszystkie)) {
        if (!info.isSymLink() && info.isFile() && jestBaza(info.fileName()))
            tabele.insert(
                QDir::cleanPath(info.absolutePath() + u'/' + info.completeBaseName()).toUpper());
    }
    for (const QFileInfo &info : std::as_const(wszystkie)) {
        const QString wzgledna = korzen.relativeFilePath(info.absoluteFilePath());
        const QString nazwa = info.fileName();
        Rodzaj rodzaj;
        if (info.isSymLink())
            rodzaj = Rodzaj::Nieregularny;
        else if (info.isDir())
            rodzaj = Rodzaj::Katalog;
        else if (!info.isFile())
            rodzaj = Rodzaj::Nieregularny;
        else if (plikBlokady(nazwa))
            rodzaj = Rodzaj::Pominiety;
        else if (jestBaza(nazwa))
            rodzaj = plikSqlite(info.absoluteFilePath()) ? Rodzaj::Plik : Rodzaj::Tabela;
        else if (rozszerzenieTowarzyszace(info.suffix()) &&
                 tabele.contains(
                     QDir::cleanPath(info.absolutePath() + u'/' + info.completeBaseName())
                         .toUpper()))
            rodzaj = Rodzaj::Pominiety;
        else
            rodzaj = Rodzaj::Plik;
        wpisy << Wpis{wzgledna, rodzaj};
    }
    std::sort(wpisy.begin(), wpisy.end(),
              [](const Wpis &a, const Wpis &b) { return a.wzgledna < b.wzgledna; });
    return wpisy;
}

} // namespace

QStringList AktywneBlokady(const QString &katalog)
{
    QStringList blokady;
    const QDir korzen(katalog);
    QDirIterator it(katalog, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (!info.isSymLink() && plikBlokady(info.fileName()) && maWpisy(info.absoluteFilePath()))
            blokady << korzen.relativeFilePath(info.absoluteFilePath());
    }
    blokady.sort();
    return blokady;
}

QString KatalogPrzeksztalcenia(const QString &stary)
{
    const QString s = bezwzgledna(stary);
    return s + QStringLiteral("-RAWEN2");
}

WynikImportu ImportujKatalogDanych(const QString &staryPodany, const QString &nowyPodany,
                                   const OpcjeImportu &opcje, const PrzebiegImportu &przebieg)
{
    WynikImportu wynik;
    auto log = [&](const QString &linia) {
        if (przebieg.dziennik)
            przebieg.dziennik(linia);
    };
    auto odmowa = [&](const QString &przyczyna) {
        wynik.odmowa = true;
        wynik.bledy << przyczyna;
        wynik.podsumowanie = przyczyna;
        return wynik;
    };
    const QString stary = bezwzgledna(staryPodany);
    const QString nowy = bezwzgledna(nowyPodany);
    if (!QFileInfo(stary).isDir())
        return odmowa(QStringLiteral("Katalog %1 nie istnieje albo nie jest katalogiem.")
                          .arg(natywna(stary)));
    if (nowy == stary || nowy.startsWith(stary + u'/') || stary.startsWith(nowy + u'/'))
        return odmowa(QStringLiteral("Nowy katalog danych %1 nie może leżeć w starym %2 ani go "
                                     "zawierać.")
                          .arg(natywna(nowy), natywna(stary)));
    const QFileInfo nowyInfo(nowy);
    if (nowyInfo.exists() || nowyInfo.isSymLink()) {
        if (!nowyInfo.isDir() || nowyInfo.isSymLink() ||
            !QDir(nowy).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot))
            return odmowa(
                QStringLiteral("%1 już istnieje. Dane można przekształcić tylko do nowego "
                               "albo pustego katalogu.")
                    .arg(natywna(nowy)));
    }
    if (!QFileInfo(nowyInfo.absolutePath()).isDir())
        return odmowa(QStringLiteral("Brak katalogu %1, w którym ma powstać nowy katalog danych.")
                          .arg(natywna(nowyInfo.absolutePath())));
    if (!opcje.kodowanie.isEmpty() &&
        opcje.kodowanie.compare(QLatin1String("cp852"), Qt::CaseInsensitive) != 0 &&
        opcje.kodowanie.compare(QLatin1String("cp1250"), Qt::CaseInsensitive) != 0)
        return odmowa(
            QStringLiteral("Nieznane kodowanie %1 (cp852 albo cp1250).").arg(opcje.kodowanie));

    const QStringList blokady = AktywneBlokady(stary);
    if (!blokady.isEmpty()) {
        if (!opcje.mimoBlokad)
            return odmowa(QStringLiteral("Dane w %1 są w użyciu: pliki blokad poprzedniej wersji "
                                         "programu mają wpisy (%2). Zakończ pracę z nią na "
                                         "wszystkich stanowiskach i powtórz przekształcenie; "
                                         "jeżeli blokady zostały po awarii, użyj --mimo-blokad.")
                              .arg(natywna(stary), blokady.join(QLatin1String(", "))));
        log(QStringLiteral("Uwaga: pliki blokad mają wpisy (%1); przekształcenie mimo blokad.")
                .arg(blokady.join(QLatin1String(", "))));
        ++wynik.ostrzezenia;
    }

    const QList<Wpis> wpisy = spis(stary);
    TemporaryDirectory budowa(nowy);
    if (!budowa.isValid())
        return odmowa(QStringLiteral("Nie można utworzyć katalogu obok %1: %2.")
                          .arg(natywna(nowy), systemErrorText(errno)));
    if (przebieg.postep)
        przebieg.postep->Start(QStringLiteral("Przekształcanie danych"), int(wpisy.size()));
    const QDir zrodlo(stary);
    const QDir cel(budowa.path());
    for (const Wpis &wpis : wpisy) {
        const QString nazwa = natywna(wpis.wzgledna);
        try {
            switch (wpis.rodzaj) {
            case Rodzaj::Katalog:
                if (!makeDirectory(cel.filePath(wpis.wzgledna)))
                    throw BladParadox(nazwa, QStringLiteral("nie można utworzyć katalogu: %1")
                                                 .arg(systemErrorText(errno)));
                break;
            case Rodzaj::Tabela: {
                const WynikTabeli t =
                    PrzeksztalcTabele(zrodlo.filePath(wpis.wzgledna), cel.filePath(wpis.wzgledna),
                                      nazwa, opcje.kodowanie);
                ++wynik.tabele;
                wynik.rekordy += t.rekordy;
                wynik.notatki += t.notatki;
                wynik.ostrzezenia += int(t.ostrzezenia.size());
                QString linia = QStringLiteral("%1: %2, %3")
                                    .arg(nazwa, Liczebnik(t.rekordy, liczebniki::rekord),
                                         Liczebnik(t.notatki, liczebniki::notatka));
                if (!t.ostrzezenia.isEmpty())
                    linia += QStringLiteral(", ") +
                             Liczebnik(t.ostrzezenia.size(), liczebniki::ostrzezenie);
                log(linia);
                for (const QString &o : t.ostrzezenia)
                    log(QStringLiteral("  uwaga: ") + o);
                break;
            }
            case Rodzaj::Plik:
                copyFile(zrodlo.filePath(wpis.wzgledna), cel.filePath(wpis.wzgledna));
                ++wynik.pliki;
                break;
            case Rodzaj::Pominiety:
                break;
            case Rodzaj::Nieregularny:
                ++wynik.ostrzezenia;
                log(QStringLiteral("%1: pominięty, to nie jest zwykły plik ani katalog")
                        .arg(nazwa));
                break;
            }
        } catch (const BladParadox &blad) {
            wynik.bledy << blad.komunikat();
            log(QStringLiteral("BŁĄD ") + blad.komunikat());
        } catch (const EngineError &blad) {
            const QString tekst = QStringLiteral("%1: %2").arg(nazwa, blad.cause());
            wynik.bledy << tekst;
            log(QStringLiteral("BŁĄD ") + tekst);
        }
        if (przebieg.postep)
            przebieg.postep->Postep();
    }
    if (wynik.bledy.isEmpty() && !budowa.moveInto())
        wynik.bledy << QStringLiteral("Nie można nadać nowemu katalogowi danych nazwy %1: %2.")
                           .arg(natywna(nowy), systemErrorText(errno));
    if (przebieg.postep)
        przebieg.postep->Stop();

    const QString liczby = QStringLiteral("%1 (%2, %3), bez zmian skopiowano %4")
                               .arg(Liczebnik(wynik.tabele, liczebniki::tabela),
                                    Liczebnik(wynik.rekordy, liczebniki::rekord),
                                    Liczebnik(wynik.notatki, liczebniki::notatka),
                                    Liczebnik(wynik.pliki, liczebniki::plik));
    wynik.udany = wynik.bledy.isEmpty();
    if (wynik.udany)
        wynik.podsumowanie =
            QStringLiteral("Dane przekształcone do %1: %2; %3.")
                .arg(natywna(nowy), liczby, Liczebnik(wynik.ostrzezenia, liczebniki::ostrzezenie));
    else
        wynik.podsumowanie =
            QStringLiteral("Przekształcenie NIE powiodło się (%1); katalog %2 nie "
                           "powstał, stare dane są bez zmian.")
                .arg(Liczebnik(wynik.bledy.size(), liczebniki::blad), natywna(nowy));
    return wynik;
}

} // namespace rawen
