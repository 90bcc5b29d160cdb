#include "platform/MessageBoxes.h"

#include "support/ScriptedMessageBoxes.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace rawen;
using namespace Qt::StringLiterals;
using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

namespace {

TEST(MessageBoxes, EachKindHasItsIconCaptionAndButtons)
{
    test::ScriptedMessageBoxes boxes;
    MessageBoxes &current = MessageBoxes::current();
    current.plain(u"zwykły"_s);
    current.information(u"informacja"_s);
    current.warning(u"ostrzeżenie"_s);
    current.error(u"błąd\rdruga linia"_s);

    const QList<test::ShownBox> &shown = boxes.shown();
    ASSERT_EQ(shown.size(), 4);
    const struct
    {
        Icon icon;
        const char *caption;
    } expected[] = {{Icon::None, "RAWEN 2.0"},
                    {Icon::Information, "Informacja"},
                    {Icon::Warning, "Ostrzeżenie"},
                    {Icon::Error, "Błąd"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(shown[i].icon, expected[i].icon) << i;
        EXPECT_EQ(shown[i].caption, QString::fromUtf8(expected[i].caption)) << i;
        EXPECT_EQ(shown[i].buttons, Buttons::Ok) << i;
    }
    EXPECT_EQ(shown[3].text, u"błąd\rdruga linia");
}

TEST(MessageBoxes, QuestionGoesOnOnlyOnYes)
{
    test::ScriptedMessageBoxes boxes;
    boxes.answerNext(Answer::Yes);
    boxes.answerNext(Answer::No);
    EXPECT_TRUE(MessageBoxes::current().question(u"Czy skasować firmę : A"_s));
    EXPECT_FALSE(MessageBoxes::current().question(u"Czy skasować firmę : B"_s));

    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown()[0].icon, Icon::Warning);
    EXPECT_EQ(boxes.shown()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(boxes.texts(),
              QStringList({u"Czy skasować firmę : A"_s, u"Czy skasować firmę : B"_s}));
}

TEST(MessageBoxes, WithoutInstalledBoxesQuestionsAnswerNo)
{
    ASSERT_EQ(MessageBoxes::install(nullptr), nullptr);
    EXPECT_FALSE(MessageBoxes::current().question(u"Czy odtwarzać zbiory ?"_s));
    EXPECT_EQ(MessageBoxes::current().show(Icon::Error, u"Błąd"_s, u"x"_s, Buttons::Ok),
              Answer::Ok);
}

TEST(MessageBoxes, RecorderRestoresThePreviousBoxes)
{
    test::ScriptedMessageBoxes outer;
    {
        test::ScriptedMessageBoxes inner;
        MessageBoxes::current().warning(u"wewnątrz"_s);
        EXPECT_EQ(inner.shown().size(), 1);
    }
    MessageBoxes::current().warning(u"na zewnątrz"_s);
    EXPECT_EQ(outer.texts(), QStringList{u"na zewnątrz"_s});
}

TEST(MessageBoxes, RecorderFailsOnUnscriptedOrUnusedAnswers)
{
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedMessageBoxes boxes;
            EXPECT_FALSE(MessageBoxes::current().question(u"?"_s));
        },
        "unscripted question");
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedMessageBoxes boxes;
            boxes.answerNext(Answer::Yes);
        },
        "never asked for");
}

} // namespace
