#include "platform/Instalacja.h"

#include "support/FixedAppContext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// Installed, the program is in bin and what comes with it in lib/rawen; run from its build or
// its data root, the stand-in module program lies beside it.
TEST(Instalacja, TheModulesFolderAndTheStandInModuleAreFoundFromTheProgramsPlace)
{
    QTemporaryDir katalog;
    const QString bin = katalog.filePath(QStringLiteral("usr/bin"));
    const QString build = katalog.filePath(QStringLiteral("build/src"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(build));
    QFile obok(build + QStringLiteral("/rawen-modul-demo"));
    ASSERT_TRUE(obok.open(QIODevice::WriteOnly));
    obok.close();

    const struct
    {
        QString program;
        QString moduly;
        QString modulDemo;
    } przypadki[] = {
        {bin + QStringLiteral("/rawen"), katalog.filePath(QStringLiteral("usr/lib/rawen/moduly/")),
         katalog.filePath(QStringLiteral("usr/lib/rawen/rawen-modul-demo"))},
        {build + QStringLiteral("/rawen"),
         katalog.filePath(QStringLiteral("build/lib/rawen/moduly/")),
         build + QStringLiteral("/rawen-modul-demo")},
    };
    for (const auto &p : przypadki) {
        FixedAppContext kontekst(QDate(2024, 3, 10), p.program);
        EXPECT_EQ(Instalacja::katalogModulow(), QDir::toNativeSeparators(p.moduly))
            << qPrintable(p.program);
        EXPECT_EQ(Instalacja::programModuluDemo(), p.modulDemo) << qPrintable(p.program);
    }
}

} // namespace
} // namespace rawen::test
