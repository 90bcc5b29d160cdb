#include "data/WartosciProgramu.h"
#include "platform/Printers.h"
#include "print/QtDrukarkaWindows.h"
#include "print/UstawieniaDruku.h"
#include "print/Wydruk.h"
#include "support/PrintFakes.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// A job printed through a real print queue: a CUPS daemon of the test's own, in a temporary
// folder, with a cups-pdf queue that turns what it gets into a PDF file there. The daemon answers
// on a socket in that folder only; nothing of the system's printing is touched.
namespace rawen::test {
namespace {

const QString kQueue = QStringLiteral("RawenPDF");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kModel = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");

class OneQueue final : public Printers
{
public:
    QStringList names() const override { return {kQueue}; }
    QString currentName() const override { return kQueue; }
    void select(const QString &) override {}
    void setup() override {}
};

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

// Runs a command to its end; its output, or a null text when it failed.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(u' ').toStdString() << ": "
                      << process.readAll().toStdString();
        return {};
    }
    const QString output = QString::fromUtf8(process.readAll());
    return output.isNull() ? QStringLiteral("") : output;
}

// Waits for the condition while the daemon works; false when it never came.
template <typename Condition> bool waitFor(Condition condition)
{
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

// Without cups-pdf the queue hands the job's document, a PDF already, to this backend, which
// writes it out under the job's name as cups-pdf does.
const QByteArray kOwnBackend = R"sh(#!/bin/sh
[ $# -eq 0 ] && { echo 'file rawenpdf "Unknown" "RAWEN PDF"'; exit 0; }
name=$(printf '%s' "$3" | tr -c 'A-Za-z0-9' '_')
out="$(dirname "$0")/../../pdf/$name.pdf"
if [ -n "$6" ]; then cat "$6" > "$out.part"; else cat > "$out.part"; fi && mv "$out.part" "$out"
)sh";

const QByteArray kOwnModel = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "RAWENPDF.PPD"
*Manufacturer: "RAWEN"
*Product: "(RAWEN PDF)"
*ModelName: "RAWEN PDF"
*ShortNickName: "RAWEN PDF"
*NickName: "RAWEN PDF"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 -"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

bool installed(const char *tool)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(tool),
                                           {"/usr/sbin", "/usr/bin", "/sbin", "/bin"})
                .isEmpty();
}

class KolejkaWydrukuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *tool : {"cupsd", "lpadmin", "lpstat"}) {
            if (!installed(tool))
                GTEST_SKIP() << "CUPS is not installed (" << tool
                             << " is missing): scripts/install-deps installs cups and "
                                "printer-driver-cups-pdf";
        }
        ASSERT_TRUE(m_dir.isValid());

        // cups-pdf refuses to run unless it can become root, and Debian keeps its backend
        // readable by root alone. It also reads its settings from /etc/cups only, so the daemon
        // runs in a mount namespace of its own where that folder is the test's (the option values
        // of a PPD are too short for the paths).
        QString without;
        if (!QFile::exists(kBackend) || !QFile::exists(kModel))
            without = QStringLiteral("printer-driver-cups-pdf is not installed");
        else if (::geteuid() != 0)
            without = QStringLiteral("cups-pdf prints only for root");
        else if (!installed("unshare") || !installed("mount"))
            without = QStringLiteral("unshare and mount are missing");
        if (without.isEmpty() && startDaemon(true))
            return;
        if (HasFatalFailure())
            return;
        if (without.isEmpty())
            without = QStringLiteral("no private mount namespace here");
        std::cout << "[   INFO   ] a queue of the test's own backend, not cups-pdf: "
                  << without.toStdString() << std::endl;
        startDaemon(false);
    }

    // Starts the daemon in a fresh folder with one queue; false when the namespace of a cups-pdf
    // queue could not be made.
    bool startDaemon(bool cupsPdf)
    {
        m_folder = std::make_unique<QTemporaryDir>(m_dir.filePath(QStringLiteral("cupsXXXXXX")));
        const QString d = m_folder->path();
        m_cupsPdf = cupsPdf;
        // The filters run as the daemon's user "lp" when it runs as root, and must find their way
        // in.
        for (const QString &folder : {m_dir.path(), d}) {
            EXPECT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        }
        for (const char *folder :
             {"spool", "cache", "state", "tmp", "log", "etc", "pdf", "cpdf", "bin/backend"}) {
            EXPECT_TRUE(QDir(d).mkpath(QString::fromLatin1(folder)));
        }
        EXPECT_EQ(::chmod(QFile::encodeName(d + "/tmp").constData(), 01777), 0);
        m_socket = d + QStringLiteral("/cups.sock");
        const QByteArray root = QFile::encodeName(d);
        QByteArray files = "ServerRoot " + root + "\nRequestRoot " + root + "/spool\nCacheDir " +
                           root + "/cache\nStateDir " + root + "/state\nTempDir " + root +
                           "/tmp\nErrorLog " + root + "/log/error_log\nAccessLog " + root +
                           "/log/access_log\nPageLog " + root +
                           "/log/page_log\nFileDevice No\nSandboxing Relaxed\n";
        if (!cupsPdf) {
            // A server folder of its own: the system's filters and the test's backend.
            files += "ServerBin " + root + "/bin\n";
            for (const char *part : {"filter", "daemon", "cgi-bin", "monitor", "notifier"}) {
                const QString system = QStringLiteral("/usr/lib/cups/") + QLatin1String(part);
                if (QFileInfo::exists(system))
                    QFile::link(system, d + "/bin/" + QLatin1String(part));
            }
            EXPECT_TRUE(writeFile(d + "/bin/backend/rawenpdf", kOwnBackend));
            // A backend only its owner may run is run as the daemon's own user, not as "lp",
            // which could not write into the test's folder.
            QFile::setPermissions(d + "/bin/backend/rawenpdf", QFileDevice::ReadOwner |
                                                                   QFileDevice::WriteOwner |
                                                                   QFileDevice::ExeOwner);
            EXPECT_TRUE(writeFile(d + "/rawen.ppd", kOwnModel));
        }
        EXPECT_TRUE(writeFile(d + "/cupsd.conf",
                              "Listen " + QFile::encodeName(m_socket) +
                                  "\nLogLevel info\nBrowsing No\nWebInterface No\n"
                                  "DefaultAuthType None\n"
                                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                  "  </Limit>\n</Policy>\n"));
        EXPECT_TRUE(writeFile(d + "/cups-files.conf", files));
        EXPECT_TRUE(writeFile(d + "/etc/cups-pdf.conf", "Out " + root + "/pdf\nSpool " + root +
                                                            "/cpdf\nLog " + root +
                                                            "/log\nGrp root\nLogType 3\n"));
        if (HasFailure())
            return false;

        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        const QString start =
            QStringLiteral("exec cupsd -f -c \"$1/cupsd.conf\" -s \"$1/cups-files.conf\"");
        if (cupsPdf) {
            m_daemon.start(QStringLiteral("unshare"),
                           {"--mount", "--propagation", "private", "sh", "-c",
                            "mount --bind \"$1/etc\" /etc/cups && " + start, "sh", d});
        } else {
            m_daemon.start(QStringLiteral("sh"), {"-c", start, "sh", d});
        }
        if (!m_daemon.waitForStarted()) {
            ADD_FAILURE() << "cupsd does not start";
            return false;
        }
        qputenv("CUPS_SERVER", QFile::encodeName(m_socket));
        const bool ready = waitFor([this] {
            // No event loop runs here: the process's end is noticed only when asked for.
            m_daemon.waitForFinished(0);
            if (m_daemon.state() == QProcess::NotRunning)
                return true;
            QProcess lpstat;
            lpstat.start(QStringLiteral("lpstat"), {"-r"});
            return lpstat.waitForFinished() &&
                   lpstat.readAllStandardOutput().startsWith("scheduler is running");
        });
        if (m_daemon.state() == QProcess::NotRunning) {
            const QString output = QString::fromUtf8(m_daemon.readAll());
            if (cupsPdf && (output.contains(u"unshare") || output.contains(u"mount")))
                return false;
            ADD_FAILURE() << "cupsd ended: " << output.toStdString();
            return false;
        }
        if (!ready) {
            m_daemon.kill();
            m_daemon.waitForFinished();
            ADD_FAILURE() << "cupsd does not answer: " << errorLog().toStdString();
            return false;
        }
        const QStringList queue =
            cupsPdf ? QStringList{"-v", "cups-pdf:/", "-P", kModel}
                    : QStringList{"-v", "rawenpdf:/", "-P", d + QStringLiteral("/rawen.ppd")};
        return !run(QStringLiteral("lpadmin"), QStringList{"-p", kQueue, "-E"} + queue).isNull();
    }

    void TearDown() override
    {
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished(30000))
                m_daemon.kill();
        }
        qunsetenv("CUPS_SERVER");
    }

    QString errorLog() const
    {
        QFile log(m_folder->filePath(QStringLiteral("log/error_log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<QTemporaryDir> m_folder;
    bool m_cupsPdf = false;
    QString m_socket;
    QProcess m_daemon;
};

TEST_F(KolejkaWydrukuTest, ATwoPageJobComesOutOfTheQueueAsATwoPagePdf)
{
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(kQueue))
        << "Qt does not see the queue: "
        << QPrinterInfo::availablePrinterNames().join(u' ').toStdString();
    ScriptedMessageBoxes boxes;
    OneQueue printers;
    QtDrukarkaWindows printer(printers, QImage());
    UstawieniaDruku settings;
    settings.DRTYP = 0;
    settings.DRBUFOR = true;
    settings.DRLINIDOS = 70;
    WartosciProgramu values;
    values.uzytkownik = QStringLiteral("Biuro");
    values.tytul = QStringLiteral("RAWEN 2.0");
    values.dataStartu = QStringLiteral("2024.03.15");
    FakeOknoWydruku window;
    FakeOknoPostepu progress;
    Wydruk wydruk(settings, values, window, progress, printer);

    wydruk.NowyWydruk(QStringLiteral("Wydruk kolejki"), false, 0, 0, true);
    wydruk.DrukujWiersz(QStringLiteral("pierwsza strona"));
    wydruk.DrukujWiersz(QStringLiteral("&W"));
    wydruk.DrukujWiersz(QStringLiteral("druga strona"));
    wydruk.ZakonczWydruk(true);
    ASSERT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join(u'|').toStdString();
    ASSERT_FALSE(wydruk.przerwany());
    EXPECT_GE(wydruk.Skala(), 1.0);

    const QDir out(m_folder->filePath(QStringLiteral("pdf")));
    const bool done = waitFor([&] {
        const QString pending = run(QStringLiteral("lpstat"), {"-o", kQueue});
        return pending.isEmpty() && !out.entryList({"*.pdf"}, QDir::Files).isEmpty();
    });
    ASSERT_TRUE(done) << "no PDF from the queue; cupsd's log:\n" << errorLog().toStdString();
    const QStringList pdfs = out.entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(pdfs.size(), 1) << pdfs.join(u' ').toStdString();
    // cups-pdf names its file after the job, and the job carries the print's title.
    EXPECT_TRUE(pdfs.front().contains(u"Wydruk_kolejki")) << pdfs.front().toStdString();
    // The file is complete once ghostscript is done with it; its size settles before that.
    QString info;
    ASSERT_TRUE(waitFor([&] {
        QProcess pdfinfo;
        pdfinfo.start(QStringLiteral("pdfinfo"), {out.filePath(pdfs.front())});
        info = pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0
                   ? QString::fromUtf8(pdfinfo.readAllStandardOutput())
                   : QString();
        return !info.isEmpty();
    }));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:.*Wydruk kolejki"))))
        << info.toStdString();
}

} // namespace
} // namespace rawen::test
