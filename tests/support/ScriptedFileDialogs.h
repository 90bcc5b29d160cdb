#pragma once

#include "platform/FileDialogs.h"

#include <QList>
#include <QString>

namespace rawen::test {

struct AskedSaveFile
{
    QString fileName;
    QString defaultSuffix;
    QString filter;
};

struct AskedDirectory
{
    QString caption;
    QString folder;
};

// File dialogs for tests, installed for the object's lifetime. Each save or folder dialog takes
// the next scripted answer; an empty answer cancels it. A dialog nobody scripted, or an answer left
// over at the end, fails the running test.
class ScriptedFileDialogs final : public FileDialogs
{
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;
    ScriptedFileDialogs(const ScriptedFileDialogs &) = delete;
    ScriptedFileDialogs &operator=(const ScriptedFileDialogs &) = delete;

    void answerNext(const QString &path);
    void cancelNext() { answerNext(QString()); }
    const QList<AskedSaveFile> &asked() const { return m_asked; }
    const QList<AskedDirectory> &askedDirectories() const { return m_askedDirectories; }

    QString saveFileName(const QString &fileName, const QString &defaultSuffix,
                         const QString &filter) override;
    QString existingDirectory(const QString &caption, const QString &folder) override;

private:
    QList<QString> m_script;
    QList<AskedSaveFile> m_asked;
    QList<AskedDirectory> m_askedDirectories;
    FileDialogs *m_previous;
};

} // namespace rawen::test
