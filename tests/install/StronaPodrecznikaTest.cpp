#include "install/StronaPodrecznika.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QList<WierszPomocy> kWiersze{
    {QStringLiteral("rawen [KATALOG] [rok RRRR]"), QStringLiteral("uruchamia program")},
    {QStringLiteral("rawen --drukuj TABELA.DB [--kanal 0..3]"),
     QStringLiteral("drukuje tabelę\n"
                    "      --kanal 0..3  0 drukarka, 1 port\n"
                    "      --sumy LP;KWOTA;...  pola sumowane")},
    {QStringLiteral("rawen --zle"), QStringLiteral(".TH wygląda jak polecenie, a C:\\DANE to "
                                                   "ścieżka z ukośnikiem")},
};

QString strona()
{
    return StronaPodrecznika(kWiersze, {QStringLiteral("2024-03-10"),
                                        QStringLiteral("/usr/lib/rawen"),
                                        {QStringLiteral("Kod wyjścia: 0 - wykonane.")}});
}

// Every way of calling the program is listed twice, in the synopsis and with its description;
// options in bold and typed with a minus sign, the words a user replaces in italics, a command's
// own options under it.
TEST(StronaPodrecznika, ListsEveryWayOfCallingTheProgramWithItsOptions)
{
    const QString s = strona();
    const QString drukuj = QStringLiteral(
        "\\fBrawen\\fR \\fB\\-\\-drukuj\\fR \\fITABELA.DB\\fR [\\fB\\-\\-kanal\\fR \\fI0..3\\fR]");
    EXPECT_EQ(s.count(drukuj), 2) << qPrintable(s);
    EXPECT_EQ(s.count(QStringLiteral("\\fBrawen\\fR [\\fIKATALOG\\fR] [\\fBrok\\fR \\fIRRRR\\fR]")),
              2);
    EXPECT_TRUE(s.contains(drukuj + QStringLiteral("\ndrukuje tabelę\n.RS\n.TP\n"
                                                   "\\fB\\-\\-kanal\\fR \\fI0..3\\fR\n"
                                                   "0 drukarka, 1 port\n.TP\n"
                                                   "\\fB\\-\\-sumy\\fR \\fILP;KWOTA;...\\fR\n"
                                                   "pola sumowane\n.RE\n")))
        << qPrintable(s);
    EXPECT_TRUE(s.contains(QStringLiteral("Kod wyjścia: 0 \\- wykonane.")));
    EXPECT_TRUE(s.contains(QStringLiteral("/usr/lib/rawen/moduly/")));
    EXPECT_TRUE(s.contains(QStringLiteral(".TH RAWEN 1 \"2024-03-10\"")));
}

// A description is text, never a request of roff: a line of it that begins with a dot is kept as
// text, and a backslash prints as one.
TEST(StronaPodrecznika, DescriptionsAreTextEvenWhereTheyLookLikeRequests)
{
    const QString s = strona();
    EXPECT_TRUE(s.contains(QStringLiteral("\n\\&.TH wygląda jak polecenie, a C:\\eDANE to")))
        << qPrintable(s);
    static const QRegularExpression zadanie(
        QStringLiteral("^\\.(\\\\\"|TH|SH|PP|TP|RS|RE|br|nh|ad)( |$)"));
    for (const QString &linia : s.split(u'\n')) {
        if (linia.startsWith(u'.') || linia.startsWith(u'\'')) {
            EXPECT_TRUE(zadanie.match(linia).hasMatch()) << qPrintable(linia);
        }
    }
}

// groff, which man runs, reads the page without a warning.
TEST(StronaPodrecznika, GroffReadsItWithoutWarnings)
{
    if (QStandardPaths::findExecutable(QStringLiteral("groff")).isEmpty())
        GTEST_SKIP() << "groff is missing (Debian package groff-base)";
    QProcess groff;
    groff.start(QStringLiteral("groff"),
                {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-K"),
                 QStringLiteral("utf8"), QStringLiteral("-ww"), QStringLiteral("-z")});
    ASSERT_TRUE(groff.waitForStarted());
    groff.write(strona().toUtf8());
    groff.closeWriteChannel();
    ASSERT_TRUE(groff.waitForFinished(60000));
    EXPECT_EQ(groff.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(groff.readAllStandardError()), QString());
}

} // namespace
} // namespace rawen::test
