#include "print/Siatka.h"

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// Columns under one parent share its caption, so that their group cell spans them all.
TEST(PodpisGrupy, FollowsTheParentsOfAMultiLevelTitle)
{
    const struct
    {
        const char *name;
        QList<TytulNadrzedny> nadrzedne;
        QString grupaWlasna;
        QString podpis;
    } cases[] = {
        {"no parent, no group", {}, "", ""},
        {"no parent: its own group text", {}, "Kwoty", "Kwoty"},
        {"under a parent: its title", {{"Sprzedaż", "", true}}, "", "Sprzedaż"},
        {"the parent's group before its title", {{"Sprzedaż", "Rok", true}}, "", "Rok|Sprzedaż"},
        {"the column's own group after",
         {{"Sprzedaż", "Rok", true}},
         "brutto",
         "Rok|Sprzedaż|brutto"},
        {"a parent without title or group", {{"", "", true}}, "", " "},
        {"a parent with a group and no title", {{"", "Rok", true}}, "", "Rok|"},
        {"two levels",
         {{"2024", "Lata", true}, {"I kwartał", "", true}},
         "",
         "Lata|2024|I kwartał"},
        {"two levels, groups on each",
         {{"2024", "", true}, {"I kwartał", "netto", true}},
         "VAT",
         "2024|netto|I kwartał|VAT"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PodpisGrupy(c.nadrzedne, c.grupaWlasna), c.podpis) << c.name;
}

} // namespace
} // namespace rawen::test
