#include "platform/DurableFiles.h"

#include "data/Table.h"
#include "platform/EngineError.h"
#include "platform/FaultPoint.h"
#include "support/OtherProgram.h"
#include "support/QtPrinting.h"
#include "support/TableFixtures.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace rawen::test {
namespace {

const QList<FieldDef> kPola{{QStringLiteral("NR"), ftInteger, 0, false},
                            {QStringLiteral("NAZWA"), ftString, 20, false}};

mode_t uprawnienia(const QString &sciezka)
{
    struct stat st;
    return ::stat(QFile::encodeName(sciezka).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

gid_t grupa(const QString &sciezka)
{
    struct stat st;
    return ::stat(QFile::encodeName(sciezka).constData(), &st) == 0 ? st.st_gid : gid_t(-1);
}

void ustaw(const QString &sciezka, mode_t tryb)
{
    ASSERT_EQ(::chmod(QFile::encodeName(sciezka).constData(), tryb), 0);
}

void zapisz(const QString &sciezka, const QByteArray &tresc, int dniTemu = 0)
{
    QFile plik(sciezka);
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
    plik.write(tresc);
    plik.flush();
    if (dniTemu > 0) {
        ASSERT_TRUE(plik.setFileTime(QDateTime::currentDateTime().addDays(-dniTemu),
                                     QFileDevice::FileModificationTime));
    }
}

class DurableFilesTest : public testing::Test
{
public:
    void SetUp() override { ASSERT_TRUE(katalog.isValid()); }
    void TearDown() override
    {
        FaultPoint::setRecording(false);
        ::umask(m_umask);
    }
    QString sciezka(const QString &nazwa) const { return katalog.filePath(nazwa); }
    QStringList wpisy() const { return directoryEntries(katalog.path()); }
    void tabela(const QString &nazwa)
    {
        makeTable(sciezka(nazwa), kPola, {{QString(), QStringLiteral("NR"), ixPrimary}},
                  {{"1", "a"}});
    }

    QTemporaryDir katalog;
    mode_t m_umask = ::umask(022);
};

// Each way of writing a file of ours, as the engine and the durable-file layer offer it.
struct Zapis
{
    const char *nazwa;
    std::function<void(DurableFilesTest &, const QString &cel)> zapisz;
};

// A new file gets the permissions any program's new file gets under the umask; a replaced file
// keeps those (and, where the process may give it, the group) of the file it replaces, so a table
// an office shares stays readable to its other users.
TEST_F(DurableFilesTest, NewFilesTakeTheUmaskReplacedFilesKeepTheirPermissions)
{
    const QList<Zapis> noweZapisy = {
        {"writeNewFile",
         [](DurableFilesTest &, const QString &cel) {
             writeNewFile(cel, 3, [](char *d, qint64 n, qint64) {
                 std::memset(d, 'x', size_t(n));
                 return true;
             });
         }},
        {"writeFile", [](DurableFilesTest &, const QString &cel) { writeFile(cel, "abc", false); }},
        {"createTableNew",
         [](DurableFilesTest &, const QString &cel) {
             Table t;
             t.setTableName(cel);
             t.fieldDefs() = kPola;
             t.createTableNew();
         }},
        {"copyTo",
         [](DurableFilesTest &t, const QString &cel) {
             t.tabela(QStringLiteral("ZRODLO.DB"));
             Table zrodlo;
             zrodlo.setTableName(t.sciezka(QStringLiteral("ZRODLO.DB")));
             zrodlo.open();
             zrodlo.copyTo(cel);
         }},
    };
    for (mode_t maska : {mode_t(022), mode_t(002), mode_t(077)}) {
        ::umask(maska);
        for (const Zapis &z : noweZapisy) {
            SCOPED_TRACE(testing::Message() << z.nazwa << " umask " << std::oct << maska);
            const QString cel = sciezka(QStringLiteral("NOWY.DB"));
            z.zapisz(*this, cel);
            EXPECT_EQ(uprawnienia(cel), 0666 & ~maska);
            ASSERT_TRUE(QFile::remove(cel));
        }
    }

    ::umask(077);
    const QList<Zapis> zastapienia = {
        {"writeFile", [](DurableFilesTest &, const QString &cel) { writeFile(cel, "nowa", true); }},
        {"createTable",
         [](DurableFilesTest &, const QString &cel) {
             Table t;
             t.setTableName(cel);
             t.fieldDefs() = kPola;
             t.createTable();
         }},
        {"replaceTable",
         [](DurableFilesTest &t, const QString &cel) {
             t.tabela(QStringLiteral("INNA.DB"));
             Table inna;
             inna.setTableName(t.sciezka(QStringLiteral("INNA.DB")));
             inna.replaceTable(cel);
         }},
    };
    for (mode_t tryb : {mode_t(0664), mode_t(0640), mode_t(0444)}) {
        for (const Zapis &z : zastapienia) {
            SCOPED_TRACE(testing::Message() << z.nazwa << " mode " << std::oct << tryb);
            const QString cel = sciezka(QStringLiteral("STARY.DB"));
            tabela(QStringLiteral("STARY.DB"));
            ustaw(cel, tryb);
            // Only root may give a file to a group it is not in.
            const bool innaGrupa = ::geteuid() == 0;
            if (innaGrupa) {
                ASSERT_EQ(::chown(QFile::encodeName(cel).constData(), uid_t(-1), 4321), 0);
            }
            z.zapisz(*this, cel);
            EXPECT_EQ(uprawnienia(cel), tryb);
            if (innaGrupa) {
                EXPECT_EQ(grupa(cel), gid_t(4321));
            }
            ASSERT_TRUE(QFile::remove(cel));
        }
    }
}

// A file reaches its name only once its bytes are on the disk, and the directory is synced after
// the name is in place: a power cut leaves the old state or the new one, never a name for a file
// whose bytes never arrived.
TEST_F(DurableFilesTest, TheFileIsSyncedBeforeItIsNamedAndTheDirectoryAfter)
{
    tabela(QStringLiteral("ZRODLO.DB"));
    tabela(QStringLiteral("INNA.DB"));
    const QList<Zapis> zapisy = {
        {"copyTo",
         [](DurableFilesTest &t, const QString &cel) {
             Table zrodlo;
             zrodlo.setTableName(t.sciezka(QStringLiteral("ZRODLO.DB")));
             zrodlo.open();
             zrodlo.copyTo(cel);
         }},
        {"createTableNew",
         [](DurableFilesTest &, const QString &cel) {
             Table t;
             t.setTableName(cel);
             t.fieldDefs() = kPola;
             t.createTableNew();
         }},
        {"createTable over a table",
         [](DurableFilesTest &, const QString &cel) {
             Table t;
             t.setTableName(cel);
             t.fieldDefs() = kPola;
             t.createTable();
         }},
        {"writeFile", [](DurableFilesTest &, const QString &cel) { writeFile(cel, "abc", false); }},
        {"writeFile over a file",
         [](DurableFilesTest &, const QString &cel) { writeFile(cel, "def", true); }},
    };
    for (const Zapis &z : zapisy) {
        SCOPED_TRACE(z.nazwa);
        const QString cel = sciezka(QStringLiteral("CEL.DB"));
        if (QString::fromLatin1(z.nazwa).contains(QLatin1String("over")))
            tabela(QStringLiteral("CEL.DB"));
        FaultPoint::setRecording(true);
        z.zapisz(*this, cel);
        const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
        FaultPoint::setRecording(false);

        qsizetype nadanie = -1;
        for (qsizetype i = 0; i < kroki.size(); ++i) {
            if ((kroki[i].step == FileStep::Link || kroki[i].step == FileStep::Rename) &&
                kroki[i].path == cel)
                nadanie = i;
        }
        ASSERT_GE(nadanie, 0) << "the file was never named";
        // The temporary that became the file was synced after its last write.
        qsizetype ostatniZapis = -1;
        qsizetype synchronizacja = -1;
        for (qsizetype i = 0; i < nadanie; ++i) {
            if (kroki[i].path.contains(QStringLiteral(".CEL.DB~rawen-")) &&
                !kroki[i].path.endsWith(QLatin1String("-journal"))) {
                if (kroki[i].step == FileStep::Write)
                    ostatniZapis = i;
                if (kroki[i].step == FileStep::Sync)
                    synchronizacja = i;
            }
        }
        EXPECT_GE(ostatniZapis, 0);
        EXPECT_GT(synchronizacja, ostatniZapis);
        bool katalogPo = false;
        for (qsizetype i = nadanie + 1; i < kroki.size(); ++i)
            katalogPo =
                katalogPo || (kroki[i].step == FileStep::Sync && kroki[i].path == katalog.path());
        EXPECT_TRUE(katalogPo);
        ASSERT_TRUE(QFile::remove(cel));
    }

    SCOPED_TRACE("replaceTable");
    tabela(QStringLiteral("CEL.DB"));
    FaultPoint::setRecording(true);
    Table inna;
    inna.setTableName(sciezka(QStringLiteral("INNA.DB")));
    inna.replaceTable(sciezka(QStringLiteral("CEL.DB")));
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    ASSERT_GE(kroki.size(), 2);
    EXPECT_EQ(kroki[kroki.size() - 2].step, FileStep::Rename);
    EXPECT_EQ(kroki.last().step, FileStep::Sync);
    EXPECT_EQ(kroki.last().path, katalog.path());
}

// Every successful write leaves the directory with its target added and nothing else: no
// temporary, no journal.
TEST_F(DurableFilesTest, ASuccessfulWriteLeavesOnlyItsTarget)
{
    tabela(QStringLiteral("ZRODLO.DB"));
    Table zrodlo;
    zrodlo.setTableName(sciezka(QStringLiteral("ZRODLO.DB")));
    zrodlo.open();
    const QList<Zapis> zapisy = {
        {"copyTo", [&](DurableFilesTest &, const QString &cel) { zrodlo.copyTo(cel); }},
        {"createTable",
         [](DurableFilesTest &, const QString &cel) {
             Table t;
             t.setTableName(cel);
             t.fieldDefs() = kPola;
             t.createTable();
         }},
        {"createTableNew",
         [](DurableFilesTest &, const QString &cel) {
             Table t;
             t.setTableName(cel);
             t.fieldDefs() = kPola;
             t.createTableNew();
         }},
        {"writeNewFile",
         [](DurableFilesTest &, const QString &cel) {
             writeNewFile(cel, 5, [](char *d, qint64 n, qint64) {
                 std::memset(d, 'y', size_t(n));
                 return true;
             });
         }},
        {"writeFile", [](DurableFilesTest &, const QString &cel) { writeFile(cel, "z", true); }},
    };
    for (const Zapis &z : zapisy) {
        SCOPED_TRACE(z.nazwa);
        const QStringList przed = wpisy();
        z.zapisz(*this, sciezka(QStringLiteral("CEL.DB")));
        QStringList oczekiwane = przed + QStringList{QStringLiteral("CEL.DB")};
        oczekiwane.sort();
        EXPECT_EQ(wpisy(), oczekiwane);
        ASSERT_TRUE(QFile::remove(sciezka(QStringLiteral("CEL.DB"))));
    }
}

// A move that must not overwrite tells an existing target (a file, or a directory holding
// files) from a failure, and never loses its source, also on a file system without hard links
// (FAT or exFAT, as on the USB sticks offices archive to), where its link is refused and a
// rename that refuses the target takes its place; a table move onto a directory fails whole.
TEST_F(DurableFilesTest, AMoveOntoSomethingThatExistsKeepsTheSource)
{
    zapisz(sciezka(QStringLiteral("ZRODLO")), "zrodlo");
    zapisz(sciezka(QStringLiteral("PLIK")), "stary");
    ASSERT_TRUE(QDir(katalog.path()).mkpath(QStringLiteral("KATALOG/wnetrze")));
    // link() on such a file system fails with EPERM.
    const auto bezDowiazan = [](bool bez) {
        if (bez)
            FaultPoint::arm(1, FaultPoint::Fault::NotPermitted);
    };
    for (const bool bez : {false, true}) {
        for (const char *cel : {"PLIK", "KATALOG"}) {
            SCOPED_TRACE(std::string(cel) + (bez ? " without hard links" : ""));
            bezDowiazan(bez);
            EXPECT_EQ(moveNoReplace(sciezka(QStringLiteral("ZRODLO")), sciezka(QLatin1String(cel))),
                      MoveResult::TargetExists);
            FaultPoint::disarm();
            EXPECT_EQ(fileBytes(sciezka(QStringLiteral("ZRODLO"))), QByteArray("zrodlo"));
        }
    }
    EXPECT_EQ(fileBytes(sciezka(QStringLiteral("PLIK"))), QByteArray("stary"));
    // Onto a free name there, the rename moves the file and the directory is synced after it.
    bezDowiazan(true);
    FaultPoint::setRecording(true);
    EXPECT_EQ(moveNoReplace(sciezka(QStringLiteral("ZRODLO")), sciezka(QStringLiteral("NOWY"))),
              MoveResult::Done);
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    FaultPoint::setRecording(false);
    FaultPoint::disarm();
    EXPECT_EQ(fileBytes(sciezka(QStringLiteral("NOWY"))), QByteArray("zrodlo"));
    EXPECT_FALSE(QFileInfo::exists(sciezka(QStringLiteral("ZRODLO"))));
    ASSERT_EQ(kroki.size(), 3);
    EXPECT_EQ(kroki[0].step, FileStep::Link);
    EXPECT_EQ(kroki[1].step, FileStep::Rename);
    EXPECT_EQ(kroki[1].path, sciezka(QStringLiteral("NOWY")));
    EXPECT_EQ(kroki[2].step, FileStep::Sync);
    EXPECT_EQ(kroki[2].path, katalog.path());
    ASSERT_TRUE(QFile::rename(sciezka(QStringLiteral("NOWY")), sciezka(QStringLiteral("ZRODLO"))));
    EXPECT_EQ(moveNoReplace(sciezka(QStringLiteral("ZRODLO")), sciezka(QStringLiteral("BRAK/X"))),
              MoveResult::Failed);

    tabela(QStringLiteral("NOWA.DB"));
    ASSERT_TRUE(QDir(katalog.path()).mkpath(QStringLiteral("STARA.DB/wnetrze")));
    Table nowa;
    nowa.setTableName(sciezka(QStringLiteral("NOWA.DB")));
    EXPECT_EQ(errorKind([&] { nowa.replaceTable(sciezka(QStringLiteral("STARA.DB"))); }),
              EngineError::Io);
    EXPECT_TRUE(QFileInfo(sciezka(QStringLiteral("NOWA.DB"))).isFile());
    EXPECT_EQ(nowa.tableName(), sciezka(QStringLiteral("NOWA.DB")));
    EXPECT_TRUE(QFileInfo(sciezka(QStringLiteral("STARA.DB/wnetrze"))).isDir());
}

// A directory renamed away (a deleted firm) never takes the place of anything at its new name,
// not even of an empty directory, and goes whole with what it holds, in one step that the fault
// point sees; the directory that holds it is synced afterwards.
TEST_F(DurableFilesTest, ADirectoryMovesOnlyOntoAFreeName)
{
    ASSERT_TRUE(QDir(katalog.path()).mkpath(QStringLiteral("FIRMA002/2024")));
    zapisz(sciezka(QStringLiteral("FIRMA002/2024/DANE")), "dane");
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("#IRMA001")));
    ASSERT_TRUE(QDir(katalog.path()).mkpath(QStringLiteral("#IRMA003/BAZA")));
    zapisz(sciezka(QStringLiteral("#IRMA004")), "plik");
    for (const char *cel : {"#IRMA001", "#IRMA003", "#IRMA004"}) {
        SCOPED_TRACE(cel);
        EXPECT_EQ(moveDirectoryNoReplace(sciezka(QStringLiteral("FIRMA002")),
                                         sciezka(QLatin1String(cel))),
                  MoveResult::TargetExists);
        EXPECT_EQ(fileBytes(sciezka(QStringLiteral("FIRMA002/2024/DANE"))), QByteArray("dane"));
    }
    EXPECT_TRUE(directoryEntries(sciezka(QStringLiteral("#IRMA001"))).isEmpty());

    FaultPoint::arm(1, FaultPoint::Fault::IoError);
    EXPECT_EQ(moveDirectoryNoReplace(sciezka(QStringLiteral("FIRMA002")),
                                     sciezka(QStringLiteral("#IRMA002"))),
              MoveResult::Failed);
    FaultPoint::disarm();
    EXPECT_EQ(errno, EIO);
    EXPECT_TRUE(QFileInfo(sciezka(QStringLiteral("FIRMA002"))).isDir());

    FaultPoint::setRecording(true);
    EXPECT_EQ(moveDirectoryNoReplace(sciezka(QStringLiteral("FIRMA002")),
                                     sciezka(QStringLiteral("#IRMA002"))),
              MoveResult::Done);
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    ASSERT_EQ(kroki.size(), 2);
    EXPECT_EQ(kroki[0].step, FileStep::Rename);
    EXPECT_EQ(kroki[0].path, sciezka(QStringLiteral("#IRMA002")));
    EXPECT_EQ(kroki[1].step, FileStep::Sync);
    EXPECT_EQ(kroki[1].path, katalog.path());
    EXPECT_FALSE(QFileInfo::exists(sciezka(QStringLiteral("FIRMA002"))));
    EXPECT_EQ(fileBytes(sciezka(QStringLiteral("#IRMA002/2024/DANE"))), QByteArray("dane"));

    EXPECT_EQ(moveDirectoryNoReplace(sciezka(QStringLiteral("FIRMA009")),
                                     sciezka(QStringLiteral("#IRMA009"))),
              MoveResult::Failed);
    EXPECT_EQ(errno, ENOENT);
}

// A new directory's entry is synced into its parent, as a new file's name is: a firm or an
// archive folder made just before a power cut is still there after it.
TEST_F(DurableFilesTest, ANewDirectoryIsSyncedIntoItsParent)
{
    FaultPoint::setRecording(true);
    ASSERT_TRUE(makeDirectory(sciezka(QStringLiteral("NOWY"))));
    const QList<FaultPoint::Step> kroki = FaultPoint::recorded();
    FaultPoint::setRecording(false);
    ASSERT_EQ(kroki.size(), 2);
    EXPECT_EQ(kroki[0].step, FileStep::MakeDirectory);
    EXPECT_EQ(kroki[0].path, sciezka(QStringLiteral("NOWY")));
    EXPECT_EQ(kroki[1].step, FileStep::Sync);
    EXPECT_EQ(kroki[1].path, katalog.path());
    // One that is there is used as it is; a file of that name is none.
    EXPECT_TRUE(makeDirectory(sciezka(QStringLiteral("NOWY"))));
    zapisz(sciezka(QStringLiteral("PLIK")), "x");
    EXPECT_FALSE(makeDirectory(sciezka(QStringLiteral("PLIK"))));
}

// What interrupted runs left is removed when the directory is next written; what a running
// program may still be writing stays.
TEST_F(DurableFilesTest, StaleTemporariesGoWhenTheDirectoryIsNextWritten)
{
    // A run that ended in the middle of a write: its process is gone.
    QString poZmarlym;
    const int status = runInChildProcess([&] {
        TemporaryFile plik(sciezka(QStringLiteral("FIRMA.DB")));
        if (!plik.isValid())
            return 1;
        const QByteArray nazwa = QFile::encodeName(plik.path());
        // Hand the name to the parent through a file: nothing of ours runs after _exit.
        QFile wynik(sciezka(QStringLiteral("nazwa.txt")));
        if (!wynik.open(QIODevice::WriteOnly) || wynik.write(nazwa) != nazwa.size())
            return 2;
        wynik.close();
        plik.release();
        return 0;
    });
    ASSERT_EQ(status, 0);
    poZmarlym = QFile::decodeName(fileBytes(sciezka(QStringLiteral("nazwa.txt"))));
    ASSERT_TRUE(QFile::remove(sciezka(QStringLiteral("nazwa.txt"))));
    ASSERT_TRUE(QFile::exists(poZmarlym));
    zapisz(poZmarlym + QStringLiteral("-journal"), "dziennik");

    // This process is running: its temporary is someone's work in progress.
    TemporaryFile zywy(sciezka(QStringLiteral("RAWEN.DB")));
    ASSERT_TRUE(zywy.isValid());

    struct Plik
    {
        const char *nazwa;
        int dniTemu;
        bool zostaje;
    };
    const QList<Plik> pliki = {
        {".FIRMA-nowa.DB", 2, false},
        {".FIRMA-nowa.DB-journal", 2, false},
        {".FIRMA-nowa.DB.Ab12Cd", 2, false},
        {".KONTRAHI.DB.x7k2", 2, false},
        {".FIRMA-nowa.DB.Ab12Cd-journal", 0, true},   // an earlier version may be at it now
        {".FIRMA.DB~rawen-00000000-1-abc", 0, true},  // another machine's, touched just now
        {".FIRMA.DB~rawen-00000000-1-def", 2, false}, // another machine's, long untouched
        {".bashrc", 2, true},
        {".FIRMA.PX", 2, true},
        {"FIRMA.DB.Ab12Cd", 2, true},
    };
    for (const Plik &p : pliki)
        zapisz(sciezka(QString::fromLatin1(p.nazwa)), "x", p.dniTemu);

    writeFile(sciezka(QStringLiteral("FIRMA.STR")), "STRUKTURA", false);

    QStringList oczekiwane{QStringLiteral("FIRMA.STR"), QFileInfo(zywy.path()).fileName()};
    for (const Plik &p : pliki) {
        if (p.zostaje)
            oczekiwane << QString::fromLatin1(p.nazwa);
    }
    oczekiwane.sort();
    EXPECT_EQ(wpisy(), oczekiwane);
}

// ---- ReplacingFile: a file written in pieces that takes the place of its target at the end ----

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void store(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(data), data.size());
}

class ReplacingFileTest : public testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // Everything in the folder, hidden entries too.
    QStringList entries() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir m_dir;
};

TEST_F(ReplacingFileTest, CommitPutsTheWholeFileInPlaceOfTheEarlierOne)
{
    const QString target = path("eksport.txt");
    store(target, "earlier report\r\n");

    ReplacingFile file(target);
    ASSERT_TRUE(file.open()) << file.errorString().toStdString();
    ASSERT_TRUE(file.write("first line\r\n"));
    // Until the end the earlier file is what a reader finds, and the new one lies hidden beside it.
    EXPECT_EQ(contents(target), "earlier report\r\n");
    const QStringList whileWriting = entries();
    ASSERT_EQ(whileWriting.size(), 2);
    EXPECT_TRUE(isTemporaryName(whileWriting.front())) << whileWriting.join(u' ').toStdString();

    ASSERT_TRUE(file.write("second line\r\n"));
    ASSERT_TRUE(file.commit()) << file.errorString().toStdString();
    EXPECT_EQ(contents(target), "first line\r\nsecond line\r\n");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("eksport.txt")});
    EXPECT_FALSE(file.isOpen());
}

TEST_F(ReplacingFileTest, AFileGivenUpLeavesTheEarlierOneWholeAndNothingBeside)
{
    const struct
    {
        const char *how;
        std::function<void(std::unique_ptr<ReplacingFile> &)> giveUp;
    } ways[] = {
        {"discard", [](std::unique_ptr<ReplacingFile> &file) { file->discard(); }},
        {"destroyed before commit", [](std::unique_ptr<ReplacingFile> &file) { file.reset(); }},
    };
    for (const auto &way : ways) {
        const QString target = path("eksport.txt");
        store(target, "earlier report\r\n");
        auto file = std::make_unique<ReplacingFile>(target);
        ASSERT_TRUE(file->open()) << way.how;
        ASSERT_TRUE(file->write("half of a new rep")) << way.how;
        way.giveUp(file);
        EXPECT_EQ(contents(target), "earlier report\r\n") << way.how;
        EXPECT_EQ(entries(), QStringList{QStringLiteral("eksport.txt")}) << way.how;
        if (file) {
            EXPECT_FALSE(file->commit()) << way.how;
        }
        EXPECT_EQ(contents(target), "earlier report\r\n") << way.how;
    }
}

TEST_F(ReplacingFileTest, ARenameThatFailsLeavesTheTargetAndTakesTheTemporaryAway)
{
    // A folder of that name cannot be replaced by a file.
    const QString target = path("eksport.txt");
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("eksport.txt/inside")));

    ReplacingFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("report\r\n"));
    EXPECT_FALSE(file.commit());
    EXPECT_FALSE(file.errorString().isEmpty());
    EXPECT_TRUE(QDir(path("eksport.txt/inside")).exists());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("eksport.txt")});
}

TEST_F(ReplacingFileTest, AFolderThatIsNotThereIsReportedWhenOpening)
{
    ReplacingFile file(path("brak/eksport.txt"));
    EXPECT_FALSE(file.open());
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(file.errorString().startsWith(QStringLiteral("Nie można utworzyć pliku w ")))
        << file.errorString().toStdString();
    EXPECT_FALSE(file.write("x"));
    EXPECT_FALSE(file.commit());
    EXPECT_TRUE(entries().isEmpty());
}

} // namespace
} // namespace rawen::test
