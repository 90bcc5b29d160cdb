#include "platform/QtFileDialogs.h"

#include "platform/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace rawen {

QString QtFileDialogs::saveFileName(const QString &fileName, const QString &defaultSuffix,
                                    const QString &filter)
{
    if (m_folder.isEmpty())
        m_folder = AppContext::current().currentDirectory;
    const auto dialog =
        buildSave(m_folder, fileName, defaultSuffix, filter, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog->selectedFiles().front();
    m_folder = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtFileDialogs::existingDirectory(const QString &caption, const QString &folder)
{
    return QDir::toNativeSeparators(
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, folder));
}

std::unique_ptr<QFileDialog> QtFileDialogs::buildSave(const QString &folder,
                                                      const QString &fileName,
                                                      const QString &defaultSuffix,
                                                      const QString &filter, QWidget *parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Zapisz jako"), folder,
                                                filter + QStringLiteral(";;Wszystkie pliki (*)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->selectFile(QDir(folder).filePath(fileName));
    return dialog;
}

} // namespace rawen
