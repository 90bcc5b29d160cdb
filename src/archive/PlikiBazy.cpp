#include "archive/PlikiBazy.h"

#include <QStringList>

namespace rawen {

QString KluczTypu(const QString &nazwa)
{
    const qsizetype n = nazwa.size();
    if (n >= 3 && nazwa.at(n - 3) == u'.')
        return nazwa.right(2);
    if (n >= 4 && nazwa.at(n - 4) == u'.')
        return nazwa.mid(n - 3, 2);
    return nazwa;
}

bool JestPlikiemBazy(const QString &nazwa)
{
    static const QStringList klucze{QStringLiteral("DB"), QStringLiteral("MB"),
                                    QStringLiteral("PX"), QStringLiteral("XG"),
                                    QStringLiteral("YG")};
    return klucze.contains(KluczTypu(nazwa));
}

} // namespace rawen
