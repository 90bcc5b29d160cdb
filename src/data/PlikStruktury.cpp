#include "data/PlikStruktury.h"

#include "format/Formatowanie.h"
#include "platform/EngineError.h"
#include "platform/Windows1250.h"

#include <QFileDevice>
#include <QIODevice>
#include <QStringList>

namespace rawen {

namespace {

constexpr int kSzerokoscKolumny = 40;

QString liniaPola(const FieldDef &pole)
{
    return QStringLiteral("Pole:") + Dopelnij(pole.name, kSzerokoscKolumny) +
           QStringLiteral("Typ:%1").arg(int(pole.dataType), 2, 10, QLatin1Char('0')) +
           (pole.required ? QStringLiteral("Obecnosc: TRUE") : QStringLiteral("Obecnosc:FALSE")) +
           QStringLiteral("Wielkosc:") + QString::number(pole.size);
}

QString liniaIndeksu(const IndexDef &indeks)
{
    return QStringLiteral("Nazwa:") + Dopelnij(indeks.name, kSzerokoscKolumny) +
           QStringLiteral("Pole:") + Dopelnij(indeks.fields, kSzerokoscKolumny);
}

} // namespace

QByteArray TrescPlikuStruktury(const QList<FieldDef> &pola, const QList<IndexDef> &indeksy)
{
    QStringList linie{QStringLiteral("STRUKTURA ZBIORU")};
    for (const FieldDef &pole : pola)
        linie << liniaPola(pole);
    linie << QStringLiteral("INDEKSY");
    for (const IndexDef &indeks : indeksy)
        linie << liniaIndeksu(indeks);
    linie << QStringLiteral("KONIEC");
    QString tekst;
    for (const QString &linia : linie)
        tekst += linia + QStringLiteral("\r\n");
    return toWindows1250(tekst);
}

void ZapiszPlikStruktury(QIODevice &plik, const QList<FieldDef> &pola,
                         const QList<IndexDef> &indeksy)
{
    const QByteArray tresc = TrescPlikuStruktury(pola, indeksy);
    bool zapisane = plik.write(tresc) == tresc.size();
    if (auto *plikNaDysku = qobject_cast<QFileDevice *>(&plik))
        zapisane = plikNaDysku->flush() && zapisane;
    if (!zapisane)
        throw EngineError(
            EngineError::Io,
            QStringLiteral("Nie można zapisać pliku struktury: %1").arg(plik.errorString()));
}

} // namespace rawen
