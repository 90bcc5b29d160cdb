#include "format/Liczebniki.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

using namespace rawen;

namespace {

struct Przypadek
{
    qint64 ile;
    const char *oczekiwany;
};

class LiczebnikTest : public testing::TestWithParam<Przypadek>
{};

TEST_P(LiczebnikTest, TakesTheFormPolishGivesTheCount)
{
    EXPECT_EQ(Liczebnik(GetParam().ile, liczebniki::plik),
              QString::fromUtf8(GetParam().oczekiwany));
}

INSTANTIATE_TEST_SUITE_P(Pliki, LiczebnikTest,
                         testing::Values(Przypadek{0, "0 plików"}, Przypadek{1, "1 plik"},
                                         Przypadek{2, "2 pliki"}, Przypadek{4, "4 pliki"},
                                         Przypadek{5, "5 plików"}, Przypadek{11, "11 plików"},
                                         Przypadek{12, "12 plików"}, Przypadek{14, "14 plików"},
                                         Przypadek{21, "21 plików"}, Przypadek{22, "22 pliki"},
                                         Przypadek{24, "24 pliki"}, Przypadek{25, "25 plików"},
                                         Przypadek{101, "101 plików"}, Przypadek{102, "102 pliki"},
                                         Przypadek{112, "112 plików"}, Przypadek{113, "113 plików"},
                                         Przypadek{122, "122 pliki"}, Przypadek{291, "291 plików"},
                                         Przypadek{462, "462 pliki"}, Przypadek{-1, "-1 plik"},
                                         Przypadek{-3, "-3 pliki"}));

TEST(Liczebnik, TheNounOnlyFollowsTheSameRule)
{
    EXPECT_EQ(FormaLiczebnika(1, liczebniki::tabela), QStringLiteral("tabela"));
    EXPECT_EQ(FormaLiczebnika(3, liczebniki::tabela), QStringLiteral("tabele"));
    EXPECT_EQ(FormaLiczebnika(57, liczebniki::tabela), QStringLiteral("tabel"));
    EXPECT_EQ(FormaLiczebnika(2, liczebniki::blad), QStringLiteral("błędy"));
}

} // namespace
