#include "archive/Przypomnienie.h"

#include <QDate>

namespace rawen {

namespace {

// The year at 1-4, the month at 6-7, the day at 9-10; whatever stands between is not looked at.
QDate dataZTekstu(const QString &tekst)
{
    bool rokOk = false, miesiacOk = false, dzienOk = false;
    const int rok = tekst.mid(0, 4).toInt(&rokOk);
    const int miesiac = tekst.mid(5, 2).toInt(&miesiacOk);
    const int dzien = tekst.mid(8, 2).toInt(&dzienOk);
    if (!rokOk || !miesiacOk || !dzienOk)
        return {};
    return QDate(rok, miesiac, dzien);
}

} // namespace

int DniOdArchiwum(const QString &dzis, const QString &dataArchiwum)
{
    const QDate teraz = dataZTekstu(dzis);
    const QDate wtedy = dataZTekstu(dataArchiwum);
    if (!teraz.isValid() || !wtedy.isValid())
        return 0;
    return int(wtedy.daysTo(teraz));
}

QString PytanieOArchiwum(int dni)
{
    return QStringLiteral("Minęły ") + QString::number(dni) +
           QStringLiteral(" od ostatniej aktualizacji ARCHIWUM.\rCzy chcesz zarchiwować dane ?");
}

} // namespace rawen
