#include "print/UstawieniaDruku.h"

#include "format/Formatowanie.h"
#include "platform/Registry.h"

#include <QList>

#include <utility>

namespace rawen {

namespace {

const QString klucz = QStringLiteral("DRUK");

void czytaj(const Registry &rejestr, const QString &nazwa, quint8 &pole)
{
    const Registry::Integer wartosc = rejestr.readInteger(nazwa);
    if (wartosc.status == Registry::Status::Ok)
        pole = quint8(quint32(wartosc.value) & 0xFFu);
}

void czytaj(const Registry &rejestr, const QString &nazwa, bool &pole)
{
    const Registry::Integer wartosc = rejestr.readInteger(nazwa);
    if (wartosc.status == Registry::Status::Ok)
        pole = wartosc.value != 0;
}

void czytaj(const Registry &rejestr, const QString &nazwa, qint32 &pole)
{
    const Registry::Integer wartosc = rejestr.readInteger(nazwa);
    if (wartosc.status == Registry::Status::Ok)
        pole = wartosc.value;
}

qint32 wJednymZ(quint8 wartosc, quint8 najmniejsza, quint8 najwieksza)
{
    return wartosc >= najmniejsza && wartosc <= najwieksza ? wartosc : 0;
}

} // namespace

void UstawieniaDruku::Wczytaj()
{
    DREKSPORT = 0;
    const Registry rejestr(klucz);
    if (rejestr.keyExists()) {
        czytaj(rejestr, QStringLiteral("DRTYP"), DRTYP);
        czytaj(rejestr, QStringLiteral("DRPORT"), DRPORT);
        czytaj(rejestr, QStringLiteral("DRRODZAJ"), DRRODZAJ);
        czytaj(rejestr, QStringLiteral("DRPL"), DRPL);
        czytaj(rejestr, QStringLiteral("DRPODZIAL"), DRPODZIAL);
        czytaj(rejestr, QStringLiteral("DRBUFOR"), DRBUFOR);
        czytaj(rejestr, QStringLiteral("DRLEWY"), DRLEWY);
        czytaj(rejestr, QStringLiteral("DRGORA"), DRGORA);
        czytaj(rejestr, QStringLiteral("DRLINIDOS"), DRLINIDOS);
    }
    if (DRLINIDOS < 10)
        DRLINIDOS = 70;
}

bool UstawieniaDruku::Zapisz() const
{
    Registry rejestr(klucz);
    return rejestr.writeIntegers({
        {QStringLiteral("DRTYP"), wJednymZ(DRTYP, 1, 3)},
        {QStringLiteral("DRPORT"), wJednymZ(DRPORT, 1, 2)},
        {QStringLiteral("DREKSPORT"), 0},
        {QStringLiteral("DRRODZAJ"), wJednymZ(DRRODZAJ, 1, 3)},
        {QStringLiteral("DRPL"), wJednymZ(DRPL, 1, 3)},
        {QStringLiteral("DRPODZIAL"), DRPODZIAL ? 1 : 0},
        {QStringLiteral("DRBUFOR"), DRBUFOR ? 1 : 0},
        {QStringLiteral("DRLEWY"), DRLEWY},
        {QStringLiteral("DRGORA"), DRGORA},
        {QStringLiteral("DRLINIDOS"), DRLINIDOS},
    });
}

QString UrzadzeniePortu(quint8 DRPORT)
{
    if (DRPORT > 2)
        return {};
    const QString nazwa = QStringLiteral("LPT%1").arg(DRPORT + 1);
    const QString zapisane = Registry(klucz).readText(nazwa);
    if (!zapisane.isEmpty())
        return zapisane;
#ifdef Q_OS_WIN
    return nazwa + u':';
#else
    return QStringLiteral("/dev/lp%1").arg(DRPORT);
#endif
}

qint32 LiczbaZMaski(const QString &tekst)
{
    bool ok = false;
    const qint32 liczba = UsunSpacje(tekst).toInt(&ok, 10);
    return ok && liczba >= 0 ? liczba : 0;
}

} // namespace rawen
