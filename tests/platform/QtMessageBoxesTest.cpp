#include "platform/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace rawen;
using namespace Qt::StringLiterals;
using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

namespace {

QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons())
        texts.append(button->text());
    texts.sort();
    return texts;
}

TEST(QtMessageBoxes, LineBreaksAndMarkupAreShownAsText)
{
    const auto box = QtMessageBoxes::build(
        Icon::None, u"RAWEN 2.0"_s, u"Baza : <b>FIRMA</b>.DB\rdruga\r\ntrzecia"_s, Buttons::Ok);
    EXPECT_EQ(box->text(), u"Baza : <b>FIRMA</b>.DB\ndruga\ntrzecia");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), u"RAWEN 2.0");
}

TEST(QtMessageBoxes, IconsAndButtons)
{
    const struct
    {
        Icon icon;
        Buttons buttons;
        QMessageBox::Icon qtIcon;
        QStringList texts;
    } cases[] = {
        {Icon::None, Buttons::Ok, QMessageBox::NoIcon, {u"OK"_s}},
        {Icon::Information, Buttons::Ok, QMessageBox::Information, {u"OK"_s}},
        {Icon::Warning, Buttons::YesNo, QMessageBox::Warning, {u"Nie"_s, u"Tak"_s}},
        {Icon::Error, Buttons::Ok, QMessageBox::Critical, {u"OK"_s}},
        {Icon::Question, Buttons::YesNo, QMessageBox::Question, {u"Nie"_s, u"Tak"_s}},
    };
    for (const auto &c : cases) {
        const auto box = QtMessageBoxes::build(c.icon, u"x"_s, u"y"_s, c.buttons);
        EXPECT_EQ(box->icon(), c.qtIcon);
        EXPECT_EQ(buttonTexts(*box), c.texts);
    }
}

// Clicks a button of the modal box once it is shown.
void clickWhenShown(QMessageBox::StandardButton which)
{
    QTimer::singleShot(0, [which] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(which)->click();
    });
}

TEST(QtMessageBoxes, ShowReturnsTheChosenButton)
{
    QtMessageBoxes boxes;
    clickWhenShown(QMessageBox::Yes);
    EXPECT_EQ(boxes.show(Icon::Warning, u"x"_s, u"Czy?"_s, Buttons::YesNo), Answer::Yes);
    clickWhenShown(QMessageBox::No);
    EXPECT_EQ(boxes.show(Icon::Warning, u"x"_s, u"Czy?"_s, Buttons::YesNo), Answer::No);
    clickWhenShown(QMessageBox::Ok);
    EXPECT_EQ(boxes.show(Icon::Error, u"x"_s, u"Błąd"_s, Buttons::Ok), Answer::Ok);
}

TEST(QtMessageBoxes, EscapeOrClosingAnswersNo)
{
    QtMessageBoxes boxes;
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_EQ(boxes.show(Icon::Warning, u"x"_s, u"Czy?"_s, Buttons::YesNo), Answer::No);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(boxes.show(Icon::Warning, u"x"_s, u"Czy?"_s, Buttons::YesNo), Answer::No);
}

} // namespace
