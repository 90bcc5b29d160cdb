#include "format/Liczebniki.h"

namespace rawen {

QString FormaLiczebnika(qint64 ile, const FormyLiczebnika &formy)
{
    const quint64 n = ile < 0 ? quint64(0) - quint64(ile) : quint64(ile);
    if (n == 1)
        return QString::fromUtf16(formy.jeden);
    // 2-4 take the "few" form unless the last two digits are 12-14 (dwanaście, trzynaście ...).
    const quint64 jednosci = n % 10;
    const quint64 dziesiatki = n % 100;
    if (jednosci >= 2 && jednosci <= 4 && (dziesiatki < 12 || dziesiatki > 14))
        return QString::fromUtf16(formy.kilka);
    return QString::fromUtf16(formy.wiele);
}

QString Liczebnik(qint64 ile, const FormyLiczebnika &formy)
{
    return QString::number(ile) + u' ' + FormaLiczebnika(ile, formy);
}

} // namespace rawen
