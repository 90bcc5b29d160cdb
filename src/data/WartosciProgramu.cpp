#include "data/WartosciProgramu.h"

#include "platform/AppContext.h"

#include <QFileInfo>

namespace rawen {

void WartosciProgramu::ustawDateStartu(const AppContext &context)
{
    dataStartu = context.startDate();
    rokRoboczy = dataStartu.left(4);
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
