#include "print/TDRUKTYT.h"

#include "support/QtPrinting.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

TEST(TDRUKTYT, ShowsTheJobsTitleAndGivesItsTextHoweverItCloses)
{
    QString title = QStringLiteral("Zestawienie");
    TDRUKTYT prompt([&title] { return title; });
    EXPECT_EQ(prompt.windowTitle(), u"Nazwa wydruku");
    const auto *label = prompt.findChild<QLabel *>(QStringLiteral("Label1"));
    auto *edit = prompt.findChild<QLineEdit *>(QStringLiteral("Etytul"));
    auto *ok = prompt.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
    ASSERT_TRUE(label && edit && ok);
    EXPECT_EQ(label->text(), u"Podaj nazwę wydruku :");
    EXPECT_EQ(ok->text(), u"OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(prompt.findChildren<QPushButton *>().size(), 1);

    const struct
    {
        const char *how;
        bool byOk;
    } ways[] = {{"OK", true}, {"closed", false}};
    for (const auto &way : ways) {
        title = QString::fromLatin1(way.how);
        QString shown;
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                ASSERT_EQ(QApplication::activeModalWidget(), &prompt);
                shown = edit->text();
                edit->setText(QStringLiteral("Nowy tytuł"));
                if (way.byOk)
                    ok->click();
                else
                    prompt.reject();
            },
            Qt::QueuedConnection);
        EXPECT_EQ(prompt.zapytaj(), u"Nowy tytuł") << way.how;
        EXPECT_EQ(shown, title) << way.how;
        EXPECT_EQ(edit->width(), 350) << way.how;
        EXPECT_FALSE(prompt.isVisible()) << way.how;
    }
}

} // namespace
} // namespace rawen::test
