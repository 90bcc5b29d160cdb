#include "platform/Ustawienia.h"

#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

class UstawieniaTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_katalog.isValid());
        Ustawienia::redirectTo(m_katalog.path());
    }
    void TearDown() override { Ustawienia::redirectTo(QString()); }

    QTemporaryDir m_katalog;
};

TEST_F(UstawieniaTest, TheDataRootRememberedIsReadAtTheNextStartFromTheFile)
{
    EXPECT_EQ(Ustawienia().katalogDanych(), QString());
    const QString katalog = QStringLiteral("/home/anna/Księgowość 2024");
    {
        Ustawienia ustawienia;
        ASSERT_TRUE(ustawienia.zapamietajKatalogDanych(katalog));
        EXPECT_EQ(ustawienia.polozenie(),
                  QDir::toNativeSeparators(m_katalog.filePath(QStringLiteral("rawen.ini"))));
    }
    // On the disk, not only in this process's memory of the file.
    const QByteArray plik = fileBytes(m_katalog.filePath(QStringLiteral("rawen.ini")));
    EXPECT_TRUE(plik.contains("KatalogDanych")) << plik.constData();
    EXPECT_EQ(Ustawienia().katalogDanych(), katalog);
}

TEST_F(UstawieniaTest, AFileThatCannotBeWrittenIsReported)
{
    // A file where the settings' folder should be: no one, root included, makes a file in it.
    const QString plik = m_katalog.filePath(QStringLiteral("plik"));
    QFile f(plik);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    Ustawienia::redirectTo(QDir(plik).filePath(QStringLiteral("RAWEN")));
    Ustawienia ustawienia;
    EXPECT_FALSE(ustawienia.zapamietajKatalogDanych(QStringLiteral("/srv/biuro")));
}

} // namespace
} // namespace rawen::test
