#include "data/WartosciProgramu.h"

#include "platform/AppContext.h"

#include <QFileInfo>

namespace rawen {

void WartosciProgramu::ustawDateStartu(const AppContext &context)
{
    dataStartu = context.startDate();
    rokRoboczy = dataStartu.left(4);
}

void WartosciProgramu::dodajRok(const QString &rok)
{
    const QString nazwa = rok.left(4);
    qsizetype miejsce = 0;
    while (miejsce < listaLat.size() && listaLat[miejsce].compare(nazwa) < 0)
        ++miejsce;
    if (miejsce < listaLat.size() && listaLat[miejsce] == nazwa)
        return;
    listaLat.insert(miejsce, nazwa);
}

QString WartosciProgramu::tytulDomyslny(const QString &executablePath)
{
    QString nazwa = QFileInfo(executablePath).fileName();
    const qsizetype kropka = nazwa.indexOf(u'.');
    if (kropka >= 0)
        nazwa.truncate(kropka);
    return nazwa.left(1) + nazwa.mid(1).toLower();
}

} // namespace rawen
