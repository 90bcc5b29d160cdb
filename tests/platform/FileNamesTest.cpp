#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace rawen::test {
namespace {

void touch(const QString &path, const QByteArray &content = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

struct Lookup
{
    const char *what;
    QStringList files; // made in the directory before the lookup; "a/b" makes directory a
    QString asked;     // relative to the directory
    QString expected;  // relative to the directory
};

void PrintTo(const Lookup &c, std::ostream *os)
{
    *os << c.what << ": " << c.asked.toStdString();
}

class ResolveCaseInsensitive : public testing::TestWithParam<Lookup>
{};

TEST_P(ResolveCaseInsensitive, FindsTheEntryAsACaseBlindFileSystemWould)
{
    const Lookup &c = GetParam();
    QTemporaryDir dir;
    for (const QString &file : c.files) {
        const QString path = dir.filePath(file);
        QDir().mkpath(QFileInfo(path).path());
        touch(path);
    }
    EXPECT_EQ(resolveCaseInsensitive(dir.filePath(c.asked)), dir.filePath(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveCaseInsensitive,
    testing::Values(
        Lookup{"exact", {"FIRMA.DB"}, "FIRMA.DB", "FIRMA.DB"},
        Lookup{"lower on disk", {"firma.db"}, "FIRMA.DB", "firma.db"},
        Lookup{"mixed asked", {"FIRMA.DB"}, "Firma.Db", "FIRMA.DB"},
        Lookup{"exact preferred", {"FIRMA.DB", "firma.db"}, "firma.db", "firma.db"},
        Lookup{"exact preferred upper", {"FIRMA.DB", "firma.db"}, "FIRMA.DB", "FIRMA.DB"},
        Lookup{
            "directory of other case", {"FIN/kontrahi.db"}, "fin/KONTRAHI.DB", "FIN/kontrahi.db"},
        Lookup{"two directory levels", {"Rok/FIN/Plan.db"}, "ROK/fin/PLAN.DB", "Rok/FIN/Plan.db"},
        Lookup{"nothing matches", {"FIRMA.DB"}, "RAWEN.DB", "RAWEN.DB"},
        Lookup{"directory missing", {"FIRMA.DB"}, "FIN/FIRMA.DB", "FIN/FIRMA.DB"},
        Lookup{"prefix is no match", {"FIRMA.DBX"}, "FIRMA.DB", "FIRMA.DB"}),
    [](const testing::TestParamInfo<Lookup> &info) {
        return QString::fromLatin1(info.param.what).replace(u' ', u'_').toStdString();
    });

TEST(FileNamesTest, AnEntryOfTheRootDirectoryKeepsOneSeparator)
{
    if (!QFileInfo::exists(QStringLiteral("/tmp")) || QFileInfo::exists(QStringLiteral("/TMP")))
        GTEST_SKIP() << "needs /tmp and no /TMP";
    EXPECT_EQ(resolveCaseInsensitive(QStringLiteral("/TMP")), QStringLiteral("/tmp"));
}

TEST(FileNamesTest, ExistsAnyKindSeesOtherSpellingsAndDanglingLinks)
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("baza")));
    EXPECT_TRUE(existsAnyKind(dir.filePath(QStringLiteral("BAZA"))));
    EXPECT_FALSE(existsAnyKind(dir.filePath(QStringLiteral("BAZA2"))));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath(QStringLiteral("Link"))));
    EXPECT_TRUE(existsAnyKind(dir.filePath(QStringLiteral("LINK"))));
    QDir(dir.path()).mkdir(QStringLiteral("Sub"));
    EXPECT_TRUE(existsAnyKind(dir.filePath(QStringLiteral("SUB"))));
}

// Decided from the owner's write bit, so it holds when the tests run as root.
TEST(FileNamesTest, ReadOnlyIsTheOwnerWriteBitAndCanBeCleared)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FIRMA.DB"));
    touch(path);
    EXPECT_FALSE(isReadOnly(path));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_TRUE(isReadOnly(path));
    EXPECT_TRUE(clearReadOnly(path));
    EXPECT_FALSE(isReadOnly(path));
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadGroup);
}

} // namespace
} // namespace rawen::test
