#include "shell/Moduly.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

TEST(Moduly, EveryControlOfAModuleBuildsTheSameCommandLine)
{
    const QString root = QStringLiteral("/srv/Program Files/Dane/");
    for (const char *kontrolka : {"PHARNOL", "IHARNOL", "LHARNOL", "SHARNOL"}) {
        const PolecenieModulu p =
            Polecenie(root, QString::fromLatin1(kontrolka), QStringLiteral("001 Sklep Ela"));
        EXPECT_EQ(p.program, QStringLiteral("/srv/Program Files/Dane/HARNOL.EXE"));
        // Spaces turn into "_" in the parameter only; the path stays as it is.
        EXPECT_EQ(p.argumenty, QStringList{QStringLiteral("DR=/srv/Program_Files/Dane/FIRMA001/")});
        EXPECT_EQ(p.wiersz(), QStringLiteral("/srv/Program Files/Dane/HARNOL.EXE "
                                             "DR=/srv/Program_Files/Dane/FIRMA001/"));
    }
}

TEST(Moduly, Firm000GetsNoParameter)
{
    const PolecenieModulu p = Polecenie(QStringLiteral("/opt/rawen/"), QStringLiteral("PBORVIK"),
                                        QStringLiteral("000 Biuro"));
    EXPECT_EQ(p.program, QStringLiteral("/opt/rawen/BORVIK.EXE"));
    EXPECT_TRUE(p.argumenty.isEmpty());
    EXPECT_EQ(p.wiersz(), QStringLiteral("/opt/rawen/BORVIK.EXE "));
}

TEST(Moduly, TheTableOfModulesAndTheirFiles)
{
    QStringList kody;
    for (const Modul &m : Moduly())
        kody << QString::fromLatin1(m.kod);
    EXPECT_EQ(kody, (QStringList{"DREMOT", "LOMIRA", "HARNOL", "GARVEL", "SELVIK", "TESSUN",
                                 "PUNTOR", "BORVIK"}));
    EXPECT_EQ(PlikModulu(QStringLiteral("/d/"), QStringLiteral("HARNOL")),
              QStringLiteral("/d/harnol.exe"));
    EXPECT_EQ(KodModulu(QStringLiteral("SSELVIK")), QStringLiteral("SELVIK"));
    // Codes are at most eight characters: the ninth character of a name is not part of it.
    EXPECT_EQ(KodModulu(QStringLiteral("PABCDEFGHIJ")), QStringLiteral("ABCDEFGH"));
}

} // namespace
} // namespace rawen::test
