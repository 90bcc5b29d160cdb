#include "support/TableFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

struct Wynik
{
    int kod = -1;
    QString wyjscie;
};

Wynik uruchom(const QString &program, const QStringList &argumenty)
{
    QProcess proces;
    proces.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    for (const char *zmienna : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        srodowisko.remove(QString::fromLatin1(zmienna));
    proces.setProcessEnvironment(srodowisko);
    proces.start(program, argumenty);
    if (!proces.waitForFinished(300000) || proces.exitStatus() != QProcess::NormalExit)
        return {-1, QString::fromLocal8Bit(proces.readAll())};
    return {proces.exitCode(), QString::fromLocal8Bit(proces.readAll())};
}

// The width and height a PNG file's header gives; zeros when it is no PNG.
QSize rozmiarPng(const QString &plik)
{
    const QByteArray bajty = fileBytes(plik);
    if (bajty.size() < 24 || !bajty.startsWith("\x89PNG\r\n\x1a\n") || bajty.mid(12, 4) != "IHDR")
        return {};
    return {int(qFromBigEndian<quint32>(bajty.constData() + 16)),
            int(qFromBigEndian<quint32>(bajty.constData() + 20))};
}

// What the build installs, installed into a folder of the test's as a package installs it under
// /usr: the programs where the program looks for them, the menu entry, the metadata, the icons
// and the manual page, each as the tools of the desktop read it.
class UkladInstalacjiTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_katalog = new QTemporaryDir;
        const Wynik w = uruchom(QStringLiteral(RAWEN_CMAKE),
                                {QStringLiteral("--install"), QStringLiteral(RAWEN_BUILD_DIR),
                                 QStringLiteral("--prefix"), usr()});
        ASSERT_EQ(w.kod, 0) << qPrintable(w.wyjscie);
    }
    static void TearDownTestSuite()
    {
        delete s_katalog;
        s_katalog = nullptr;
    }
    static QString usr() { return s_katalog->filePath(QStringLiteral("usr")); }
    static QString plik(const char *sciezka) { return usr() + u'/' + QLatin1String(sciezka); }

    static QTemporaryDir *s_katalog;
};

QTemporaryDir *UkladInstalacjiTest::s_katalog = nullptr;

TEST_F(UkladInstalacjiTest, TheProgramsTheMenuEntryTheMetadataAndTheManualAreInTheirPlaces)
{
    for (const char *program : {"bin/rawen", "lib/rawen/rawen-modul-demo"}) {
        const QFileInfo info(plik(program));
        EXPECT_TRUE(info.isFile() && info.isExecutable()) << program;
    }
    EXPECT_TRUE(QFileInfo(plik("lib/rawen/moduly")).isDir());
    for (const char *dane :
         {"share/applications/example.rawen.rawen.desktop",
          "share/metainfo/example.rawen.rawen.metainfo.xml", "share/man/man1/rawen.1"})
        EXPECT_TRUE(QFileInfo(plik(dane)).isFile()) << dane;
    // Nothing of the build and its tools goes with it.
    EXPECT_FALSE(QFileInfo::exists(plik("bin/rawen-generator")));
    EXPECT_FALSE(QFileInfo::exists(plik("bin/rawen-bench")));
    EXPECT_EQ(directoryEntries(plik("bin")), QStringList{QStringLiteral("rawen")});
}

TEST_F(UkladInstalacjiTest, TheIconIsThereAtEverySizeOfTheTheme)
{
    QStringList rozmiary;
    for (const QString &katalog : directoryEntries(plik("share/icons/hicolor"))) {
        rozmiary << katalog;
        const int bok = katalog.section(u'x', 0, 0).toInt();
        EXPECT_EQ(rozmiarPng(plik("share/icons/hicolor/") + katalog +
                             QStringLiteral("/apps/example.rawen.rawen.png")),
                  QSize(bok, bok))
            << qPrintable(katalog);
    }
    for (const char *rozmiar :
         {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"})
        EXPECT_TRUE(rozmiary.contains(QLatin1String(rozmiar))) << rozmiar;
}

TEST_F(UkladInstalacjiTest, TheMenuEntryAndTheMetadataPassTheirValidators)
{
    const struct
    {
        const char *narzedzie;
        QStringList argumenty;
    } przypadki[] = {
        {"desktop-file-validate", {plik("share/applications/example.rawen.rawen.desktop")}},
        {"appstreamcli",
         {QStringLiteral("validate"), QStringLiteral("--no-net"),
          plik("share/metainfo/example.rawen.rawen.metainfo.xml")}},
    };
    for (const auto &p : przypadki) {
        const QString narzedzie = QStandardPaths::findExecutable(QLatin1String(p.narzedzie));
        if (narzedzie.isEmpty())
            GTEST_SKIP() << p.narzedzie << " is missing: scripts/install-deps installs it";
        const Wynik w = uruchom(narzedzie, p.argumenty);
        EXPECT_EQ(w.kod, 0) << p.narzedzie << ": " << qPrintable(w.wyjscie);
        EXPECT_FALSE(w.wyjscie.contains(QLatin1String("error"), Qt::CaseInsensitive) ||
                     w.wyjscie.contains(QLatin1String("warning"), Qt::CaseInsensitive))
            << qPrintable(w.wyjscie);
    }
    const QString wpis =
        QString::fromUtf8(fileBytes(plik("share/applications/example.rawen.rawen.desktop")));
    for (const char *klucz : {"Categories=Office;Finance;", "Name[pl]=", "Comment[pl]=",
                              "Icon=example.rawen.rawen", "Exec=rawen\n"})
        EXPECT_TRUE(wpis.contains(QLatin1String(klucz))) << klucz;
}

// The installed program finds its stand-in module beside it in the installation's folder and
// makes the demo data root with it; its manual lists what its help lists.
TEST_F(UkladInstalacjiTest, TheInstalledProgramMakesTheDemoAndItsManualListsItsCommands)
{
    const QString demo = s_katalog->filePath(QStringLiteral("demo"));
    const Wynik w = uruchom(plik("bin/rawen"), {QStringLiteral("--demo"), demo});
    ASSERT_EQ(w.kod, 0) << qPrintable(w.wyjscie);
    EXPECT_EQ(fileBytes(demo + QStringLiteral("/harnol.exe")),
              fileBytes(plik("lib/rawen/rawen-modul-demo")));

    const Wynik pomoc = uruchom(plik("bin/rawen"), {QStringLiteral("--help")});
    ASSERT_EQ(pomoc.kod, 0);
    const QString strona = QString::fromUtf8(fileBytes(plik("share/man/man1/rawen.1")));
    int polecen = 0;
    for (const QString &linia : pomoc.wyjscie.split(u'\n')) {
        if (!linia.startsWith(QLatin1String("  rawen")))
            continue;
        ++polecen;
        // The command's name as the page sets it: in bold, typed with minus signs.
        QString nazwa = linia.trimmed().section(u' ', 1, 1);
        if (nazwa.startsWith(QLatin1String("--"))) {
            EXPECT_TRUE(strona.contains(QStringLiteral("\\fBrawen\\fR \\fB") +
                                        nazwa.replace(u'-', QStringLiteral("\\-")) +
                                        QStringLiteral("\\fR")))
                << qPrintable(linia);
        }
        // Every option of the line too, those the program and all its commands take among them.
        static const QRegularExpression opcja(QStringLiteral("--[a-z-]+"));
        for (QRegularExpressionMatchIterator it = opcja.globalMatch(linia); it.hasNext();) {
            QString nazwaOpcji = it.next().captured();
            EXPECT_TRUE(strona.contains(QStringLiteral("\\fB") +
                                        nazwaOpcji.replace(u'-', QStringLiteral("\\-")) +
                                        QStringLiteral("\\fR")))
                << qPrintable(linia) << " " << qPrintable(nazwaOpcji);
        }
    }
    EXPECT_GT(polecen, 5);
}

} // namespace
} // namespace rawen::test
