#include "legacy/MemoParadox.h"

#include "legacy/BladParadox.h"

#include <QFileInfo>

namespace rawen {

namespace {

quint32 le16(const char *p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8;
}

quint32 le32(const char *p)
{
    return le16(p) | le16(p + 2) << 16;
}

} // namespace

MemoParadox::MemoParadox(const QString &sciezka, const QString &tabela)
    : m_tabela(tabela), m_nazwa(QFileInfo(sciezka).fileName()), m_plik(sciezka)
{
    const QFileInfo info(sciezka);
    if (!info.exists())
        throw BladParadox(tabela, QStringLiteral("brak pliku notatek %1, na który wskazują "
                                                 "rekordy")
                                      .arg(m_nazwa));
    if (!info.isFile() || !m_plik.open(QIODevice::ReadOnly))
        throw BladParadox(tabela, QStringLiteral("nie można odczytać pliku notatek %1: %2")
                                      .arg(m_nazwa, m_plik.errorString()));
    m_rozmiar = m_plik.size();
    if (m_rozmiar < kBlok)
        throw BladParadox(
            tabela,
            QStringLiteral("plik notatek %1 jest za krótki (%2 B)").arg(m_nazwa).arg(m_rozmiar));
    const QByteArray pierwszy = wczytaj(0, 3, QString());
    if (pierwszy.at(0) != 0)
        throw BladParadox(tabela,
                          QStringLiteral("plik notatek %1 ma błędny nagłówek").arg(m_nazwa));
}

void MemoParadox::blad(const QString &gdzie, const QString &przyczyna) const
{
    throw BladParadox(m_tabela,
                      QStringLiteral("%1: %2 w pliku notatek %3").arg(gdzie, przyczyna, m_nazwa));
}

QByteArray MemoParadox::wczytaj(qint64 od, qint64 ile, const QString &gdzie)
{
    if (od < 0 || ile < 0 || od + ile > m_rozmiar)
        blad(gdzie, QStringLiteral("wskazanie poza plikiem (bajty %1-%2 z %3)")
                        .arg(od)
                        .arg(od + ile)
                        .arg(m_rozmiar));
    QByteArray dane(ile, Qt::Uninitialized);
    if (!m_plik.seek(od) || m_plik.read(dane.data(), ile) != ile)
        throw BladParadox(
            m_tabela,
            QStringLiteral("błąd odczytu pliku notatek %1: %2").arg(m_nazwa, m_plik.errorString()));
    return dane;
}

QByteArray MemoParadox::czytaj(quint32 wskaznik, quint32 dlugosc, const QString &gdzie)
{
    const qint64 blok = wskaznik & ~quint32(0xFF);
    const int indeks = int(wskaznik & 0xFF);
    if (blok == 0 || blok % kBlok != 0)
        blad(gdzie, QStringLiteral("wskazanie %1 nie trafia w blok").arg(blok));
    const QByteArray naglowek = wczytaj(blok, 12, gdzie);
    const int typ = quint8(naglowek.at(0));
    if (indeks == 0xFF) {
        // A blob of its own: the type, the blocks it takes, its length, then the data.
        if (typ != 2)
            blad(gdzie,
                 QStringLiteral("blok %1 nie jest blokiem notatki (typ %2)").arg(blok).arg(typ));
        const quint32 bloki = le16(naglowek.constData() + 1);
        const quint32 zapisana = le32(naglowek.constData() + 3);
        if (zapisana != dlugosc)
            blad(gdzie, QStringLiteral("długość notatki %1 B nie zgadza się z rekordem (%2 B)")
                            .arg(zapisana)
                            .arg(dlugosc));
        if (qint64(bloki) * kBlok < 9 + qint64(dlugosc))
            blad(gdzie, QStringLiteral("notatka dłuższa niż jej bloki"));
        return wczytaj(blok + 9, dlugosc, gdzie);
    }
    // Small blobs sharing a block: five bytes per entry from offset 12, the data in paragraphs
    // of 16 bytes from the block's start.
    if (typ != 3)
        blad(gdzie,
             QStringLiteral("blok %1 nie jest blokiem małych notatek (typ %2)").arg(blok).arg(typ));
    if (indeks >= 64)
        blad(gdzie, QStringLiteral("numer notatki %1 poza blokiem").arg(indeks));
    const QByteArray wpis = wczytaj(blok + 12 + indeks * 5, 5, gdzie);
    const int akapit = quint8(wpis.at(0));
    const int akapity = quint8(wpis.at(1));
    if (akapit == 0 || akapity == 0)
        blad(gdzie, QStringLiteral("notatka %1 bloku %2 jest pusta").arg(indeks).arg(blok));
    if ((qint64(dlugosc) + 15) / 16 != akapity)
        blad(gdzie,
             QStringLiteral("długość notatki %1 B nie zgadza się z jej wpisem").arg(dlugosc));
    if (akapit * 16 + qint64(dlugosc) > kBlok)
        blad(gdzie, QStringLiteral("notatka wychodzi poza swój blok"));
    return wczytaj(blok + akapit * 16, dlugosc, gdzie);
}

} // namespace rawen
