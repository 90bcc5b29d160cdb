#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace rawen::test {
namespace {

using Status = Registry::Status;

class RegistryTest : public testing::Test
{
protected:
    RegistryTest() { Registry::redirectTo(m_dir.path()); }
    ~RegistryTest() override { Registry::redirectTo(QString()); }

    void writeIni(const QByteArray &lines)
    {
        QFile file(m_dir.filePath(QStringLiteral("DRUK.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\n" + lines);
    }

    QTemporaryDir m_dir;
};

TEST_F(RegistryTest, KeyExistsOnceWrittenAndValuesReadBack)
{
    Registry key(QStringLiteral("DRUK"));
    EXPECT_FALSE(key.keyExists());
    EXPECT_EQ(key.readInteger(QStringLiteral("A")).status, Status::Missing);

    ASSERT_TRUE(key.writeIntegers(
        {{QStringLiteral("A"), 0}, {QStringLiteral("B"), -5}, {QStringLiteral("C"), 300}}));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("DRUK.ini"))));

    const Registry again(QStringLiteral("DRUK"));
    EXPECT_TRUE(again.keyExists());
    const struct
    {
        const char *name;
        qint32 value;
    } expected[] = {{"A", 0}, {"B", -5}, {"C", 300}};
    for (const auto &e : expected) {
        const Registry::Integer read = again.readInteger(QString::fromLatin1(e.name));
        EXPECT_EQ(read.status, Status::Ok) << e.name;
        EXPECT_EQ(read.value, e.value) << e.name;
    }
}

TEST_F(RegistryTest, TextValuesReadAsWrittenAndOthersAsEmpty)
{
    writeIni("LPT1=/dev/usb/lp0\nLISTA=a, b\nLICZBA=5\n");
    const Registry key(QStringLiteral("DRUK"));
    EXPECT_EQ(key.readText(QStringLiteral("LPT1")), QStringLiteral("/dev/usb/lp0"));
    EXPECT_EQ(key.readText(QStringLiteral("LICZBA")), QStringLiteral("5"));
    EXPECT_EQ(key.readText(QStringLiteral("LISTA")), QString());
    EXPECT_EQ(key.readText(QStringLiteral("BRAK")), QString());
}

TEST_F(RegistryTest, AnEmptyKeyExists)
{
    writeIni("");
    EXPECT_TRUE(Registry(QStringLiteral("DRUK")).keyExists());
    EXPECT_FALSE(Registry(QStringLiteral("INNY")).keyExists());
}

struct Stored
{
    const char *text; // as in the file
    Status status;
    qint32 value;
};

void PrintTo(const Stored &s, std::ostream *os)
{
    *os << '"' << s.text << '"';
}

class RegistryValues : public RegistryTest, public testing::WithParamInterface<Stored>
{};

TEST_P(RegistryValues, TellsIntegersFromOtherValues)
{
    writeIni(QByteArray("V=") + GetParam().text + "\nW=1\n");
    const Registry::Integer read =
        Registry(QStringLiteral("DRUK")).readInteger(QStringLiteral("V"));
    EXPECT_EQ(read.status, GetParam().status);
    if (GetParam().status == Status::Ok) {
        EXPECT_EQ(read.value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RegistryValues,
                         testing::Values(Stored{"5", Status::Ok, 5}, Stored{"-1", Status::Ok, -1},
                                         Stored{"2147483647", Status::Ok, 2147483647},
                                         Stored{"4294967295", Status::Ok, -1},
                                         Stored{"4294967296", Status::NotInteger, 0},
                                         Stored{"-2147483649", Status::NotInteger, 0},
                                         Stored{"abc", Status::NotInteger, 0},
                                         Stored{"5x", Status::NotInteger, 0},
                                         Stored{"0x10", Status::NotInteger, 0},
                                         Stored{"1, 2", Status::NotInteger, 0},
                                         Stored{"", Status::NotInteger, 0}));

TEST_F(RegistryTest, AKeyThatCannotBeWrittenStoresNothing)
{
    // A regular file where the folder should be stops also a root user.
    QFile blocker(m_dir.filePath(QStringLiteral("plik")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Registry::redirectTo(blocker.fileName());

    Registry key(QStringLiteral("DRUK"));
    EXPECT_FALSE(key.writeIntegers({{QStringLiteral("A"), 1}}));
    EXPECT_FALSE(Registry(QStringLiteral("DRUK")).keyExists());
}

} // namespace
} // namespace rawen::test
