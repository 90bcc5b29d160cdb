#include "store/DyskSieciowy.h"

#include "platform/AppContext.h"
#include "platform/FileSystemType.h"
#include "platform/Registry.h"
#include "support/FixedAppContext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace rawen;

namespace {

// The probe reports every path under a share's folder as NFS, as statfs would for a mount
// there, and the rest as a local disk.
class DyskSieciowyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        udzial = m_dir.filePath(QStringLiteral("udzial"));
        lokalny = m_dir.filePath(QStringLiteral("lokalny"));
        setFileSystemProbe([this](const QString &sciezka) -> std::optional<FileSystemType> {
            if (sciezka == udzial || sciezka.startsWith(udzial + u'/'))
                return FileSystemType{0x6969, {}, false};
            if (sciezka.startsWith(QStringLiteral("/niewiadomy")))
                return std::nullopt;
            return FileSystemType{0xEF53, {}, false};
        });
    }
    void TearDown() override { setFileSystemProbe({}); }

    QTemporaryDir m_dir;
    QString udzial;
    QString lokalny;
};

TEST_F(DyskSieciowyTest, ADataRootOnANetworkDriveIsRefusedUnlessTheUserSaidToGoOn)
{
    struct Przypadek
    {
        const char *co;
        QString katalog;
        ZgodaNaDyskSieciowy zgoda;
        bool odmowa;
        QStringList wKomunikacie; // "" alone: no message at all
    };
    const QString ustawienia = QStringLiteral("/home/biuro/.config/RAWEN/rawen.ini");
    const Przypadek przypadki[] = {
        {"a local disk", lokalny, {}, false, {QString()}},
        {"a local disk, the option given", lokalny, {true, false, {}}, false, {QString()}},
        {"a share",
         udzial + QStringLiteral("/dane"),
         {},
         true,
         {udzial + QStringLiteral("/dane"), QStringLiteral("dysku sieciowym (NFS)"),
          QStringLiteral("dysk lokalny"), QStringLiteral("serwerze bazy danych"),
          QStringLiteral("--mimo-dysku-sieciowego")}},
        {"a share, where the setting lives told",
         udzial,
         {false, false, ustawienia},
         true,
         {QStringLiteral("MimoDyskuSieciowego=1"), ustawienia}},
        {"a share, the option given",
         udzial,
         {true, false, {}},
         false,
         {QStringLiteral("dysku sieciowym (NFS)"),
          QStringLiteral("mimo to (opcja "
                         "--mimo-dysku-sieciowego)"),
          QStringLiteral("tylko jedno stanowisko")}},
        {"a share, the setting on",
         udzial,
         {false, true, ustawienia},
         false,
         {QStringLiteral("mimo to (ustawienie MimoDyskuSieciowego)")}},
        {"a folder still to be made on a share",
         udzial + QStringLiteral("/nowy/rok"),
         {},
         true,
         {QStringLiteral("(NFS)")}},
        {"a file system that cannot be looked at",
         QStringLiteral("/niewiadomy/dane"),
         {},
         false,
         {QString()}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.co);
        const OcenaDysku ocena = SprawdzDyskSieciowy(p.katalog, p.zgoda);
        EXPECT_EQ(ocena.odmowa, p.odmowa);
        if (p.wKomunikacie == QStringList{QString()}) {
            EXPECT_TRUE(ocena.komunikat.isEmpty()) << ocena.komunikat.toStdString();
            EXPECT_TRUE(ocena.rodzaj.isEmpty());
            continue;
        }
        EXPECT_EQ(ocena.rodzaj, QStringLiteral("NFS"));
        for (const QString &tekst : p.wKomunikacie)
            EXPECT_TRUE(ocena.komunikat.contains(tekst))
                << ocena.komunikat.toStdString() << "\nbez: " << tekst.toStdString();
    }
}

TEST_F(DyskSieciowyTest, TheSettingLetsEveryRunGoOnAndTheRefusalSaysWhereItLives)
{
    Registry::redirectTo(m_dir.path());
    struct Przypadek
    {
        const char *co;
        std::optional<qint32> wartosc;
        bool opcja;
        bool ustawienie;
    };
    const Przypadek przypadki[] = {
        {"nothing set", std::nullopt, false, false},
        {"the setting on", 1, false, true},
        {"the setting off", 0, false, false},
        {"the option alone", std::nullopt, true, false},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.co);
        QFile::remove(m_dir.filePath(KluczUstawienProgramu() + QStringLiteral(".ini")));
        if (p.wartosc) {
            ASSERT_TRUE(Registry(KluczUstawienProgramu())
                            .writeIntegers({{WartoscMimoDyskuSieciowego(), *p.wartosc}}));
        }
        AppContext kontekst;
        kontekst.today = QDate(2026, 12, 11);
        kontekst.executablePath = QStringLiteral("/opt/rawen/rawen");
        kontekst.networkDriveAllowed = p.opcja;
        const test::FixedAppContext ustalony(kontekst);

        const ZgodaNaDyskSieciowy zgoda = ZgodaUruchomienia();
        EXPECT_EQ(zgoda.opcja, p.opcja);
        EXPECT_EQ(zgoda.ustawienie, p.ustawienie);
        const OcenaDysku ocena = SprawdzDyskSieciowy(udzial, zgoda);
        EXPECT_EQ(ocena.odmowa, !p.opcja && !p.ustawienie);
        if (ocena.odmowa) {
            EXPECT_TRUE(ocena.komunikat.contains(QDir::toNativeSeparators(
                m_dir.filePath(KluczUstawienProgramu() + QStringLiteral(".ini")))))
                << ocena.komunikat.toStdString();
        }
    }
    Registry::redirectTo(QString());
}

} // namespace
