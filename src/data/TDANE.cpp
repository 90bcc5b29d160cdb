#include "data/TDANE.h"

#include "data/OtworzTabele.h"
#include "data/SprawdzRok.h"
#include "data/WartosciProgramu.h"
#include "data/Wsparcie.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"

namespace rawen {

namespace {

QString tekstPola(Table &tabela, const QString &nazwa)
{
    if (!tabela.isOpen())
        return {};
    try {
        const Field pole = tabela.findField(nazwa);
        return pole.isValid() ? pole.asString() : QString();
    } catch (const EngineError &) {
        return {};
    }
}

} // namespace

TDANE::TDANE(WartosciProgramu &wartosci) : m_wartosci(wartosci)
{
    // An error that escapes the creation handler (a table that fails to reopen after its
    // read-only repair, a structure file that cannot be written) is shown and the module is made
    // all the same, as the old framework did; start-up goes on with what is open.
    try {
        DataModuleCreate();
    } catch (const EngineError &blad) {
        MessageBoxes::current().error(blad.message());
    } catch (const std::exception &blad) {
        MessageBoxes::current().error(QString::fromUtf8(blad.what()));
    }
}

QString TDANE::bladSterownika()
{
    return QStringLiteral("Błąd sterownika BDE.\rProszę ściągnąć sterownik ze strony ") +
           Wsparcie::adresPobierania() + QStringLiteral(",\rlub kontakt : ") + Wsparcie::email() +
           QStringLiteral(" lub ") + Wsparcie::telefon() + QStringLiteral(" ");
}

void TDANE::DataModuleCreate()
{
    SESJA.addPassword(QStringLiteral("jz"));
    if (OtworzTabele(TFIRMA, QStringLiteral("FIRMA"), QStringLiteral("Brak danych o firmie")))
        m_wartosci.katalogDanych = tekstPola(TFIRMA, QStringLiteral("DR"));
    else
        m_wartosci.katalogDanych.clear();
    const bool konfiguracja = OtworzTabele(TPARA, QStringLiteral("RAWEN"), QString());

    if (!TFIRMA.isOpen() && !konfiguracja) {
        MessageBoxes::current().error(bladSterownika());
        m_wartosci.bladStartu = true;
        return;
    }
    // The configuration table only keeps two values of the update check, so a firm table alone
    // is enough to go on: the user name and the working year are settled as with both.
    m_wartosci.uzytkownik = tekstPola(TFIRMA, QStringLiteral("SKROT"));
    SprawdzRok(m_wartosci, &TFIRMA);
}

} // namespace rawen
