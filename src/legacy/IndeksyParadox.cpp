#include "legacy/IndeksyParadox.h"

#include "legacy/TabelaParadox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace rawen {

namespace {

NaglowekParadox naglowekPliku(const QString &sciezka)
{
    const QString nazwa = QFileInfo(sciezka).fileName();
    QFile plik(sciezka);
    if (!QFileInfo(sciezka).isFile() || !plik.open(QIODevice::ReadOnly))
        throw BladParadox(nazwa, QStringLiteral("nie można odczytać pliku"));
    return CzytajNaglowekParadox(plik.read(0x10000), plik.size(), nazwa);
}

} // namespace

IndeksyParadox CzytajIndeksyParadox(TabelaParadox &tabela)
{
    IndeksyParadox wynik;
    const NaglowekParadox &n = tabela.naglowek();
    const QFileInfo info(tabela.sciezka());
    const QDir katalog = info.absoluteDir();
    const QString baza = info.completeBaseName();

    QStringList pliki;
    const QStringList wpisy = katalog.entryList(QDir::Files | QDir::Hidden | QDir::System);
    static const QRegularExpression wtorny(QStringLiteral("^(X[0-9A-F]{2}|XG[0-9A-F])$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString px;
    for (const QString &wpis : wpisy) {
        const int kropka = wpis.lastIndexOf(u'.');
        if (kropka <= 0 || wpis.left(kropka).compare(baza, Qt::CaseInsensitive) != 0)
            continue;
        const QString rozszerzenie = wpis.mid(kropka + 1);
        if (rozszerzenie.compare(QLatin1String("PX"), Qt::CaseInsensitive) == 0)
            px = wpis;
        else if (wtorny.match(rozszerzenie).hasMatch())
            pliki << wpis;
    }

    if (n.polaKlucza > 0) {
        QStringList pola;
        for (int i = 0; i < n.polaKlucza; ++i)
            pola << tabela.pola().at(i).nazwa;
        wynik.indeksy << IndexDef{QString(), pola.join(u';'), ixPrimary | ixUnique};
        if (px.isEmpty()) {
            wynik.ostrzezenia << QStringLiteral("brak pliku indeksu głównego %1.PX; klucz główny "
                                                "wzięty z nagłówka tabeli")
                                     .arg(baza);
        } else {
            try {
                const NaglowekParadox p = naglowekPliku(katalog.filePath(px));
                if (p.typPliku != 1)
                    throw BladParadox(px, QStringLiteral("to nie jest plik indeksu głównego"));
                wynik.pliki << px;
            } catch (const BladParadox &blad) {
                wynik.ostrzezenia << QStringLiteral("plik indeksu głównego jest nieczytelny (%1); "
                                                    "klucz główny wzięty z nagłówka tabeli")
                                         .arg(blad.komunikat());
            }
        }
    }

    pliki.sort(Qt::CaseInsensitive);
    QStringList nazwy;
    for (const QString &plik : pliki) {
        const QString rozszerzenie = plik.mid(plik.lastIndexOf(u'.') + 1).toUpper();
        try {
            const NaglowekParadox x = naglowekPliku(katalog.filePath(plik));
            IndexDef indeks;
            if (rozszerzenie.startsWith(QLatin1String("XG"))) {
                if (x.typPliku != 6 && x.typPliku != 8)
                    throw BladParadox(plik, QStringLiteral("to nie jest plik indeksu złożonego"));
                // Its key fields are the indexed fields, named as in the table.
                QStringList pola;
                for (int i = 0; i < x.polaKlucza && i < x.nazwyPol.size(); ++i) {
                    const QString pole =
                        tabela.tekst(x.nazwyPol[i].constData(), x.nazwyPol[i].size());
                    bool jest = false;
                    for (const PoleParadox &p : tabela.pola())
                        jest = jest || p.nazwa.compare(pole, Qt::CaseInsensitive) == 0;
                    if (!jest)
                        throw BladParadox(plik, QStringLiteral("indeks podaje pole %1, którego "
                                                               "tabela nie ma")
                                                    .arg(pole));
                    pola << pole;
                }
                if (pola.isEmpty())
                    throw BladParadox(plik, QStringLiteral("indeks bez pól"));
                indeks.fields = pola.join(u';');
                indeks.name = tabela.tekst(x.nazwaWNaglowku.constData(), x.nazwaWNaglowku.size());
                if (indeks.name.trimmed().isEmpty())
                    indeks.name = rozszerzenie;
            } else {
                if (x.typPliku != 3 && x.typPliku != 5)
                    throw BladParadox(plik, QStringLiteral("to nie jest plik indeksu"));
                bool ok = false;
                const int numer = rozszerzenie.mid(1).toInt(&ok, 16);
                if (!ok || numer < 1 || numer > tabela.pola().size())
                    throw BladParadox(plik, QStringLiteral("indeks pola %1, którego tabela nie "
                                                           "ma")
                                                .arg(numer));
                const PoleParadox &pole = tabela.pola().at(numer - 1);
                if (x.pola.isEmpty() || x.pola.first().typ != pole.typ)
                    throw BladParadox(plik, QStringLiteral("pole indeksu nie zgadza się z polem "
                                                           "%1 tabeli")
                                                .arg(pole.nazwa));
                indeks.name = pole.nazwa;
                indeks.fields = pole.nazwa;
            }
            if (nazwy.contains(indeks.name.toUpper()))
                throw BladParadox(plik,
                                  QStringLiteral("powtórzona nazwa indeksu %1").arg(indeks.name));
            nazwy << indeks.name.toUpper();
            wynik.indeksy << indeks;
            wynik.pliki << plik;
        } catch (const BladParadox &blad) {
            wynik.ostrzezenia << QStringLiteral("indeks pominięty, plik jest nieczytelny (%1)")
                                     .arg(blad.komunikat());
        }
    }
    return wynik;
}

} // namespace rawen
