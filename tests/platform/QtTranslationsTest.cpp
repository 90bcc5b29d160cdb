#include "platform/QtTranslations.h"

#include "platform/QtFileDialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// The save dialog the program shows, as the user reads it once the program has loaded Qt's
// Polish texts: its buttons and labels are Qt's own, not the program's.
TEST(QtTranslations, TheStandardDialogsSpeakPolish)
{
    if (!QFileInfo::exists(QDir(qtTranslationsFolder()).filePath(QStringLiteral("qtbase_pl.qm"))))
        GTEST_SKIP() << "Qt's Polish translations are not installed (qtbase_pl.qm in "
                     << qPrintable(qtTranslationsFolder())
                     << "); scripts/install-deps installs them (qt6-translations-l10n).";
    ASSERT_TRUE(installQtTranslations());

    QTemporaryDir folder;
    const auto dialog =
        QtFileDialogs::buildSave(folder.path(), QStringLiteral("eksport.txt"),
                                 QStringLiteral("txt"), QStringLiteral("Pliki tekstowe (*.txt)"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    auto *przyciski = dialog->findChild<QDialogButtonBox *>();
    ASSERT_TRUE(przyciski);
    ASSERT_TRUE(przyciski->button(QDialogButtonBox::Cancel));
    EXPECT_EQ(przyciski->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
    QStringList napisy;
    for (const QAbstractButton *przycisk : przyciski->buttons())
        napisy << przycisk->text().remove(u'&');
    EXPECT_TRUE(napisy.contains(QStringLiteral("Zachowaj"))) << qPrintable(napisy.join(u','));
    QStringList etykiety;
    for (const QLabel *etykieta : dialog->findChildren<QLabel *>())
        etykiety << etykieta->text().remove(u'&');
    for (const char *etykieta : {"Szukaj w:", "Nazwa pliku:"})
        EXPECT_TRUE(etykiety.contains(QString::fromUtf8(etykieta)))
            << etykieta << " / " << qPrintable(etykiety.join(u','));
}

} // namespace
} // namespace rawen::test
