#include "platform/QtFileDialogs.h"

#include "support/QtPrinting.h"

#include <QFileDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

TEST(QtFileDialogs, TheSaveDialogStartsOnItsNameAndReplacesWithoutAsking)
{
    QTemporaryDir folder;
    const auto dialog =
        QtFileDialogs::buildSave(folder.path(), QStringLiteral("eksport.txt"),
                                 QStringLiteral("txt"), QStringLiteral("Pliki tekstowe (*.txt)"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), u"txt");
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
    EXPECT_EQ(dialog->selectedFiles(), QStringList{QDir(folder.path()).filePath("eksport.txt")});
    EXPECT_EQ(dialog->nameFilters().front(), u"Pliki tekstowe (*.txt)");
}

} // namespace
} // namespace rawen::test
