#include "platform/WpisyKatalogu.h"

#include "support/OtherProgram.h"
#include "support/QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace rawen::test {
namespace {

class WpisyKataloguTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(katalog.isValid()); }
    QString sciezka(const char *nazwa) const { return katalog.filePath(QString::fromUtf8(nazwa)); }
    QByteArray bajty(const char *nazwa) const { return QFile::encodeName(sciezka(nazwa)); }

    // One entry of each kind a walk may meet in a table's place.
    void kazdyRodzaj()
    {
        QFile plik(sciezka("TABELA.DB"));
        ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        plik.write("x");
        plik.close();
        ASSERT_TRUE(QFile::link(sciezka("TABELA.DB"), sciezka("LINK.DB")));
        ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("KATALOG.DB")));
        ASSERT_EQ(::mkfifo(bajty("POTOK.DB").constData(), 0644), 0);
        ASSERT_TRUE(QFile::link(sciezka("BRAK.DB"), sciezka("ZERWANY.DB")));
        ASSERT_TRUE(QFile::link(sciezka("PETLA.DB"), sciezka("PETLA.DB")));
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), sciezka("URZADZENIE.DB")));
        ASSERT_TRUE(QFile::link(sciezka("KATALOG.DB"), sciezka("DOKATALOGU.DB")));
        const int gniazdo = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(gniazdo, 0);
        sockaddr_un adres{};
        adres.sun_family = AF_UNIX;
        const QByteArray nazwa = bajty("GNIAZDO.DB");
        ASSERT_LT(size_t(nazwa.size()), sizeof adres.sun_path);
        std::memcpy(adres.sun_path, nazwa.constData(), size_t(nazwa.size()));
        ASSERT_EQ(::bind(gniazdo, reinterpret_cast<sockaddr *>(&adres), sizeof adres), 0);
        ::close(gniazdo);
    }

    QTemporaryDir katalog;
};

TEST_F(WpisyKataloguTest, OnlyARegularFileOrALinkToOneIsReadAsAFile)
{
    kazdyRodzaj();
    const QList<QPair<const char *, const char *>> przypadki{
        {"TABELA.DB", ""},
        {"LINK.DB", ""},
        {"KATALOG.DB", "to nie jest zwykły plik, lecz katalog"},
        {"DOKATALOGU.DB", "to nie jest zwykły plik, lecz katalog"},
        {"POTOK.DB", "to nie jest zwykły plik, lecz potok (FIFO)"},
        {"GNIAZDO.DB", "to nie jest zwykły plik, lecz gniazdo"},
        {"URZADZENIE.DB", "to nie jest zwykły plik, lecz urządzenie"},
        {"ZERWANY.DB", "dowiązanie wskazuje plik, którego nie ma"},
        {"PETLA.DB", "dowiązanie wskazuje samo na siebie"},
        {"NIEMA.DB", "plik nie istnieje"},
    };
    for (const auto &[nazwa, blad] : przypadki)
        EXPECT_EQ(BladWpisuPliku(sciezka(nazwa)), QString::fromUtf8(blad)) << nazwa;
}

TEST_F(WpisyKataloguTest, TheListingHoldsEveryEntryAndNamesADirectoryItCannotRead)
{
    kazdyRodzaj();
    QFile ukryty(sciezka(".ukryty"));
    ASSERT_TRUE(ukryty.open(QIODevice::WriteOnly));
    ukryty.close();
    const ListaWpisow lista = CzytajKatalog(katalog.path());
    EXPECT_TRUE(lista.blad.isEmpty()) << qPrintable(lista.blad);
    QStringList nazwy;
    for (const QFileInfo &wpis : lista.wpisy)
        nazwy << wpis.fileName();
    nazwy.sort();
    EXPECT_EQ(nazwy,
              (QStringList{".ukryty", "DOKATALOGU.DB", "GNIAZDO.DB", "KATALOG.DB", "LINK.DB",
                           "PETLA.DB", "POTOK.DB", "TABELA.DB", "URZADZENIE.DB", "ZERWANY.DB"}));

    const QList<QPair<QString, QString>> bledne{
        {sciezka("NIEMA"), QStringLiteral("brak pliku lub katalogu")},
        {sciezka("TABELA.DB"), QStringLiteral("część ścieżki nie jest katalogiem")},
    };
    for (const auto &[gdzie, blad] : bledne) {
        const ListaWpisow zla = CzytajKatalog(gdzie);
        EXPECT_TRUE(zla.wpisy.isEmpty());
        EXPECT_EQ(zla.blad, blad) << qPrintable(gdzie);
    }
}

// A directory that is there but may not be listed is told apart from one that is missing.
TEST_F(WpisyKataloguTest, ADirectoryThatCannotBeReadIsNotAMissingOne)
{
    kazdyRodzaj();
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("zamkniety")));
    ASSERT_EQ(::chmod(bajty("zamkniety").constData(), 0300), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(katalog.path()).constData(), 0755), 0);
    // Root may list anything: the test runs as an ordinary user.
    const int wynik = runInChildProcess([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        QString przyczyna;
        if (SprawdzKatalog(sciezka("zamkniety"), &przyczyna) != StanKatalogu::Nieczytelny ||
            przyczyna != QStringLiteral("brak uprawnień"))
            return 11;
        const ListaWpisow lista = CzytajKatalog(sciezka("zamkniety"));
        if (lista.blad != QStringLiteral("brak uprawnień"))
            return 12;
        if (SprawdzKatalog(sciezka("NIEMA")) != StanKatalogu::Brak)
            return 13;
        if (SprawdzKatalog(sciezka("TABELA.DB"), &przyczyna) != StanKatalogu::NieKatalog ||
            przyczyna != QStringLiteral("to nie jest katalog, lecz plik"))
            return 14;
        if (SprawdzKatalog(sciezka("POTOK.DB"), &przyczyna) != StanKatalogu::NieKatalog ||
            przyczyna != QStringLiteral("to nie jest katalog, lecz potok (FIFO)"))
            return 15;
        return SprawdzKatalog(sciezka("KATALOG.DB")) == StanKatalogu::Jest ? 0 : 16;
    });
    EXPECT_EQ(wynik, 0);
}

} // namespace
} // namespace rawen::test
