#include "company/PoczatekRoku.h"

#include <QDate>

namespace rawen {

namespace {

bool dwieCyfry(QStringView tekst)
{
    return tekst.size() == 2 && tekst[0].isDigit() && tekst[1].isDigit() &&
           tekst[0].unicode() < 128 && tekst[1].unicode() < 128;
}

} // namespace

QString BladPoczatkuRoku(const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return QString();
    const QString wzor =
        QStringLiteral("\rWpisz miesiąc i dzień jako mm.dd, na przykład 04.01, albo zostaw pole "
                       "puste: okres obrachunkowy zacznie się 01.01.");
    const QStringView t(tekst);
    if (t.size() != 5 || t[2] != u'.' || !dwieCyfry(t.mid(0, 2)) || !dwieCyfry(t.mid(3, 2)))
        return QStringLiteral("„%1” nie jest datą początku okresu obrachunkowego.").arg(tekst) +
               wzor;
    // A leap year holds every day a fiscal year may start on.
    if (!QDate(2000, t.mid(0, 2).toInt(), t.mid(3, 2).toInt()).isValid())
        return QStringLiteral("Data początku okresu obrachunkowego „%1” nie istnieje.").arg(tekst) +
               wzor;
    return QString();
}

} // namespace rawen
