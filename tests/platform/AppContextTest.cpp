#include "platform/AppContext.h"

#include "support/FixedAppContext.h"

#include <gtest/gtest.h>

using namespace rawen;

namespace {

TEST(AppContext, StartDateIsZeroPaddedWithDots)
{
    AppContext context;
    context.today = QDate(2026, 1, 5);
    EXPECT_EQ(context.startDate(), u"2026.01.05");
}

// The chosen data root, when there is one, else the executable's directory; always with a
// closing separator, the executable's directory whatever was chosen.
TEST(AppContext, DataRootIsTheChosenOneElseTheExecutableDirectory)
{
    const struct
    {
        const char *executable;
        const char *chosen;
        const char *dataRoot;
        const char *executableDirectory;
    } cases[] = {
        {"/opt/rawen/rawen", "", "/opt/rawen/", "/opt/rawen/"},
        {"/opt/rawen/../rawen/bin/rawen", "", "/opt/rawen/bin/", "/opt/rawen/bin/"},
        {"/rawen", "", "/", "/"},
        {"/usr/bin/rawen", "/home/anna/RAWEN", "/home/anna/RAWEN/", "/usr/bin/"},
        {"/usr/bin/rawen", "/home/anna/RAWEN/", "/home/anna/RAWEN/", "/usr/bin/"},
        {"/usr/bin/rawen", "/srv/biuro/../dane//", "/srv/dane/", "/usr/bin/"},
    };
    for (const auto &c : cases) {
        AppContext context;
        context.executablePath = QString::fromUtf8(c.executable);
        context.chosenDataRoot = QString::fromUtf8(c.chosen);
        EXPECT_EQ(context.dataRoot(), QString::fromUtf8(c.dataRoot)) << c.executable << c.chosen;
        EXPECT_EQ(context.executableDirectory(), QString::fromUtf8(c.executableDirectory))
            << c.executable;
    }
}

TEST(AppContext, FixedContextIsRestored)
{
    const QDate before = AppContext::current().today;
    {
        test::FixedAppContext fixed(QDate(2024, 12, 20), QStringLiteral("/srv/biuro/rawen"));
        EXPECT_EQ(AppContext::current().startDate(), u"2024.12.20");
        EXPECT_EQ(AppContext::current().dataRoot(), u"/srv/biuro/");
    }
    EXPECT_EQ(AppContext::current().today, before);
}

} // namespace
