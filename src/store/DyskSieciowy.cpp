#include "store/DyskSieciowy.h"

#include "platform/AppContext.h"
#include "platform/FileSystemType.h"
#include "platform/Konsola.h"
#include "platform/Registry.h"

#include <QDir>

namespace rawen {

QString OpcjaMimoDyskuSieciowego()
{
    return QStringLiteral("--mimo-dysku-sieciowego");
}

QString KluczUstawienProgramu()
{
    return QStringLiteral("RAWEN");
}

QString WartoscMimoDyskuSieciowego()
{
    return QStringLiteral("MimoDyskuSieciowego");
}

OcenaDysku SprawdzDyskSieciowy(const QString &katalog, const ZgodaNaDyskSieciowy &zgoda)
{
    OcenaDysku ocena;
    const std::optional<FileSystemType> typ = fileSystemOf(katalog);
    if (!typ)
        return ocena; // what cannot be looked at is the opening's to report
    ocena.rodzaj = networkFileSystemName(*typ);
    if (ocena.rodzaj.isEmpty())
        return ocena;
    const QString gdzie = QStringLiteral("Katalog danych %1 leży na dysku sieciowym (%2).")
                              .arg(QDir::toNativeSeparators(katalog), ocena.rodzaj);
    if (zgoda.udzielona()) {
        ocena.komunikat =
            gdzie +
            QStringLiteral("\rProgram pracuje na nim mimo to (%1). Na dysku sieciowym blokady "
                           "tabel nie działają pewnie: z tych danych może naraz korzystać tylko "
                           "jedno stanowisko, inaczej tabele mogą zostać uszkodzone.")
                .arg(zgoda.opcja ? QStringLiteral("opcja %1").arg(OpcjaMimoDyskuSieciowego())
                                 : QStringLiteral("ustawienie MimoDyskuSieciowego"));
        return ocena;
    }
    ocena.odmowa = true;
    ocena.komunikat =
        gdzie +
        QStringLiteral("\rProgram nie pracuje na takim katalogu: blokady, którymi chroni tabele "
                       "przed jednoczesnym zapisem z kilku stanowisk, nie działają pewnie na "
                       "dysku sieciowym, a wtedy tabele mogą zostać uszkodzone.\rPrzenieś "
                       "katalog danych na dysk lokalny tego komputera, a gdy z danych ma "
                       "korzystać kilka stanowisk, umieść je na serwerze bazy danych "
                       "(PostgreSQL).\rJeżeli z tych danych korzysta naraz tylko jedno "
                       "stanowisko, można pracować mimo to: z opcją %1")
            .arg(OpcjaMimoDyskuSieciowego()) +
        (zgoda.plikUstawien.isEmpty()
             ? QStringLiteral(".")
             : QStringLiteral(" albo z wartością MimoDyskuSieciowego=1 w ustawieniach "
                              "programu (%1).")
                   .arg(QDir::toNativeSeparators(zgoda.plikUstawien)));
    return ocena;
}

ZgodaNaDyskSieciowy ZgodaUruchomienia()
{
    ZgodaNaDyskSieciowy zgoda;
    zgoda.opcja = AppContext::current().networkDriveAllowed;
    // A machine-wide setting, so an office that decided once need not give the option to every
    // start and every command of every desk's account.
    const Registry ustawienia(KluczUstawienProgramu());
    const Registry::Integer wartosc = ustawienia.readInteger(WartoscMimoDyskuSieciowego());
    zgoda.ustawienie = wartosc.status == Registry::Status::Ok && wartosc.value == 1;
    zgoda.plikUstawien = ustawienia.location();
    return zgoda;
}

bool DyskDoPolecenia(const QStringList &katalogi, Konsola &konsola)
{
    QStringList ostrzezone;
    for (const QString &katalog : katalogi) {
        const OcenaDysku ocena = SprawdzDyskSieciowy(katalog, ZgodaUruchomienia());
        // One warning for each network drive is enough.
        if (!ocena.komunikat.isEmpty() && (ocena.odmowa || !ostrzezone.contains(ocena.rodzaj)))
            konsola.komunikat(QString(ocena.komunikat).replace(u'\r', u'\n'));
        if (ocena.odmowa)
            return false;
        ostrzezone << ocena.rodzaj;
    }
    return true;
}

} // namespace rawen
