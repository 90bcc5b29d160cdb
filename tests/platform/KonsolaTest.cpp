#include "platform/Konsola.h"

#include "support/KonsolaTestowa.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace rawen::test {
namespace {

TEST(Konsola, MessagesGoToStandardErrorResultsToStandardOutputAndNobodyAnswersYes)
{
    std::FILE *wyjscie = std::tmpfile();
    std::FILE *bledy = std::tmpfile();
    {
        Konsola konsola(wyjscie, bledy);
        EXPECT_EQ(&MessageBoxes::current(), &konsola);
        konsola.wynik(QStringLiteral("001: rok 2025 otwarty"));
        EXPECT_FALSE(konsola.byloOstrzezenie());
        EXPECT_FALSE(MessageBoxes::current().question(QStringLiteral("Czy nadpisać?")));
        MessageBoxes::current().error(QStringLiteral("Błąd bazy :\rKONTRAHI.DB"));
        EXPECT_TRUE(konsola.byloOstrzezenie());
    }
    EXPECT_NE(&MessageBoxes::current(), nullptr);
    EXPECT_EQ(zawartoscStrumienia(wyjscie), QStringLiteral("001: rok 2025 otwarty\n"));
    EXPECT_EQ(zawartoscStrumienia(bledy),
              QStringLiteral("Czy nadpisać?\nBłąd bazy : KONTRAHI.DB\n"));
    std::fclose(wyjscie);
    std::fclose(bledy);
}

// A log of a job run from cron holds no progress line; a terminal sees it rewritten in place,
// only when the percentage changes, and ended before the next message.
TEST(Konsola, TheProgressLineIsDrawnOnATerminalOnly)
{
    for (bool terminal : {false, true}) {
        SCOPED_TRACE(terminal);
        std::FILE *wyjscie = std::tmpfile();
        std::FILE *bledy = std::tmpfile();
        {
            Konsola konsola(wyjscie, bledy);
            konsola.ustawTerminal(terminal);
            for (int i = 0; i <= 200; ++i)
                konsola.postep(QStringLiteral("Kopiowanie"), i, 200);
            konsola.komunikat(QStringLiteral("gotowe"));
        }
        const QString napisane = zawartoscStrumienia(bledy);
        if (terminal) {
            EXPECT_EQ(napisane.count(u'\r'), 101);
            EXPECT_TRUE(napisane.startsWith(QStringLiteral("\rKopiowanie   0%\rKopiowanie   1%")));
            EXPECT_TRUE(napisane.endsWith(QStringLiteral("\rKopiowanie 100%\ngotowe\n")));
        } else {
            EXPECT_EQ(napisane, QStringLiteral("gotowe\n"));
        }
        std::fclose(wyjscie);
        std::fclose(bledy);
    }
}

TEST(ArgumentyPolecenia, OptionsValuesAndTheRest)
{
    const QStringList zWartoscia{QStringLiteral("--firma"), QStringLiteral("--z-roku")};
    const QStringList bezWartosci{QStringLiteral("--wszystkie-firmy")};
    struct Przypadek
    {
        QStringList argumenty;
        QString blad;
        QString firma;
        bool wszystkie;
        QStringList reszta;
    };
    const QList<Przypadek> przypadki{
        {{"2025", "--firma", "003", "/dane"}, {}, "003", false, {"2025", "/dane"}},
        {{"--firma=007", "2025"}, {}, "007", false, {"2025"}},
        {{"--wszystkie-firmy", "2025"}, {}, {}, true, {"2025"}},
        {{"--firma"}, QStringLiteral("Opcja --firma wymaga wartości."), {}, false, {}},
        {{"--firma", "1", "--firma", "2"},
         QStringLiteral("Opcja --firma podana więcej niż raz."),
         {},
         false,
         {}},
        {{"--wszystkie-firmy=tak"},
         QStringLiteral("Opcja --wszystkie-firmy nie przyjmuje wartości."),
         {},
         false,
         {}},
        {{"--rok", "2025"}, QStringLiteral("Nieznana opcja: --rok."), {}, false, {}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.argumenty.join(u' ').toStdString());
        const ArgumentyPolecenia a(p.argumenty, zWartoscia, bezWartosci);
        EXPECT_EQ(a.blad(), p.blad);
        EXPECT_EQ(a.poprawne(), p.blad.isEmpty());
        if (!a.poprawne())
            continue;
        EXPECT_EQ(a.wartosc(QStringLiteral("--firma")), p.firma);
        EXPECT_EQ(a.ma(QStringLiteral("--wszystkie-firmy")), p.wszystkie);
        EXPECT_EQ(a.pozostale(), p.reszta);
    }
}

} // namespace
} // namespace rawen::test
