#include "print/CzcionkiWydruku.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace rawen {

QString RodzinaStala()
{
    static const QString rodzina = [] {
        const QString liberation = QStringLiteral("Liberation Mono");
        if (QFontDatabase::families().contains(liberation) &&
            QFontDatabase::isFixedPitch(liberation))
            return liberation;
        return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
    }();
    return rodzina;
}

QFont CzcionkaWydruku(const QString &nazwa, int punkty)
{
    const bool zastepowana = nazwa.compare(u"Lucida Console", Qt::CaseInsensitive) == 0 ||
                             nazwa.compare(u"Courier New", Qt::CaseInsensitive) == 0;
    if (!zastepowana)
        return QFont(nazwa, punkty);
    QFont czcionka(RodzinaStala(), punkty);
    czcionka.setStyleHint(QFont::TypeWriter);
    czcionka.setFixedPitch(true);
    return czcionka;
}

} // namespace rawen
