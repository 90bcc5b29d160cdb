#pragma once

#include "platform/FileDialogs.h"

#include <memory>

class QFileDialog;
class QWidget;

namespace rawen {

// The program's file dialogs: QFileDialog, starting in the current directory and then in the
// folder last chosen.
class QtFileDialogs final : public FileDialogs
{
public:
    QString saveFileName(const QString &fileName, const QString &defaultSuffix,
                         const QString &filter) override;
    QString existingDirectory(const QString &caption, const QString &folder) override;

    // The save dialog as it will be shown in `folder`. It does not ask before replacing a file:
    // the file is written under another name and takes the old one's place only when whole.
    static std::unique_ptr<QFileDialog> buildSave(const QString &folder, const QString &fileName,
                                                  const QString &defaultSuffix,
                                                  const QString &filter, QWidget *parent = nullptr);

private:
    QString m_folder;
};

} // namespace rawen
