#include "company/UzupelnienieAdresu.h"

#include "data/Table.h"

namespace rawen {

namespace {

void wypelnijPuste(Table &tabela, const QString &pole, const QString &tekst)
{
    Field cel = tabela.fieldByName(pole);
    if (cel.asString().isEmpty())
        cel.setAsString(tekst);
}

} // namespace

const QStringList &PolaAdresuSiedziby()
{
    static const QStringList pola{QStringLiteral("ULICA"),       QStringLiteral("NUMER"),
                                  QStringLiteral("LOKAL"),       QStringLiteral("KOD"),
                                  QStringLiteral("POCZTA"),      QStringLiteral("KRAJ"),
                                  QStringLiteral("WOJEWODZTWO"), QStringLiteral("POWIAT"),
                                  QStringLiteral("GMINA"),       QStringLiteral("MIEJSCOWOSC")};
    return pola;
}

const QStringList &PolaWypelnianePoczta()
{
    static const QStringList pola{QStringLiteral("POWIAT"),      QStringLiteral("GMINA"),
                                  QStringLiteral("MIEJSCOWOSC"), QStringLiteral("ZPOWIAT"),
                                  QStringLiteral("ZGMINA"),      QStringLiteral("ZMIEJSCOWOSC")};
    return pola;
}

void UzupelnijAdres(Table &tabela, const QString &pole)
{
    tabela.edit();
    const QString tekst = tabela.fieldByName(pole).asString();
    wypelnijPuste(tabela, QStringLiteral("Z") + pole, tekst);
    if (pole.compare(QLatin1String("POCZTA"), Qt::CaseInsensitive) != 0)
        return;
    // ZPOCZTA, filled just above when it was empty, is not in the list.
    for (const QString &wypelniane : PolaWypelnianePoczta())
        wypelnijPuste(tabela, wypelniane, tekst);
}

} // namespace rawen
