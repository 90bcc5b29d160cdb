#include "platform/DurableFiles.h"

#include "support/QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace rawen::test {
namespace {

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
    EXPECT_TRUE(whileWriting.front().startsWith(QStringLiteral(".eksport.txt.")))
        << whileWriting.join(u' ').toStdString();

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
