#include "shell/Moduly.h"

#include "support/QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

// The data root's module first, as always; the installation's modules folder when only it has
// the module; the data root's path when neither has it, so that the error names it.
TEST(Moduly, AModuleIsStartedFromTheDataRootElseFromTheInstallationsModulesFolder)
{
    QTemporaryDir katalog;
    const QString root = katalog.filePath(QStringLiteral("dane")) + u'/';
    const QString moduly = katalog.filePath(QStringLiteral("usr/lib/rawen/moduly")) + u'/';
    ASSERT_TRUE(QDir().mkpath(root) && QDir().mkpath(moduly));
    const auto plik = [](const QString &sciezka) {
        QFile f(sciezka);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    plik(root + QStringLiteral("harnol.exe"));
    plik(moduly + QStringLiteral("harnol.exe"));
    plik(moduly + QStringLiteral("SELVIK.EXE"));
    ASSERT_TRUE(QDir(moduly).mkdir(QStringLiteral("garvel.exe"))); // a directory is no program

    const struct
    {
        const char *kontrolka;
        QString katalogModulow;
        QString katalog; // where the module is found, empty when nowhere
        QString program;
    } przypadki[] = {
        {"PHARNOL", moduly, root, root + QStringLiteral("HARNOL.EXE")},
        {"PSELVIK", moduly, moduly, moduly + QStringLiteral("SELVIK.EXE")},
        {"PGARVEL", moduly, {}, root + QStringLiteral("GARVEL.EXE")},
        {"PDREMOT", moduly, {}, root + QStringLiteral("DREMOT.EXE")},
        {"PSELVIK", {}, {}, root + QStringLiteral("SELVIK.EXE")},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(p.kontrolka);
        const QString kod = KodModulu(QString::fromLatin1(p.kontrolka));
        EXPECT_EQ(KatalogModulu(root, p.katalogModulow, kod), p.katalog);
        const PolecenieModulu polecenie =
            Polecenie(root, QString::fromLatin1(p.kontrolka), QStringLiteral("001 Sklep"), {},
                      p.katalogModulow);
        EXPECT_EQ(polecenie.program, p.program);
        // The firm's directory is the data root's whichever folder the program is in.
        EXPECT_EQ(polecenie.argumenty,
                  QStringList{QStringLiteral("DR=") + root + QStringLiteral("FIRMA001/")});
    }
}

} // namespace
} // namespace rawen::test
