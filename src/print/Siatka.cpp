#include "print/Siatka.h"

namespace rawen {

namespace {

// The caption of an item under the first `ile` levels of `nadrzedne`, with its own group text.
QString podpis(const QList<TytulNadrzedny> &nadrzedne, qsizetype ile, const QString &grupaWlasna)
{
    if (ile == 0)
        return grupaWlasna;
    const TytulNadrzedny &rodzic = nadrzedne[ile - 1];
    const QString grupaRodzica = podpis(nadrzedne, ile - 1, rodzic.grupa);
    QString wynik;
    if (!grupaRodzica.isEmpty())
        wynik = grupaRodzica + u'|' + rodzic.tytul;
    else
        wynik = rodzic.tytul.isEmpty() ? QStringLiteral(" ") : rodzic.tytul;
    if (!grupaWlasna.isEmpty())
        wynik += u'|' + grupaWlasna;
    return wynik;
}

} // namespace

QString PodpisGrupy(const QList<TytulNadrzedny> &nadrzedne, const QString &grupaWlasna)
{
    return podpis(nadrzedne, nadrzedne.size(), grupaWlasna);
}

} // namespace rawen
