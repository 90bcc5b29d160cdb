#pragma once

#include <QString>

namespace rawen {

// The file dialogs of the program. The program shows real ones; tests answer from a script and
// record what was asked.
class FileDialogs
{
public:
    virtual ~FileDialogs();

    // Asks where to write a file: the dialog starts on `fileName` in its current folder (the
    // current directory at first, then the last folder chosen) and adds `defaultSuffix` to a name
    // typed without one. `filter` names the files the dialog lists, in the form
    // "Pliki tekstowe (*.txt)". An empty text when the user cancels.
    virtual QString saveFileName(const QString &fileName, const QString &defaultSuffix,
                                 const QString &filter) = 0;

    // Asks for a folder, starting in `folder`; the user may make a new one there. An empty text
    // when the user cancels, which is what a dialog that cannot be shown answers.
    virtual QString existingDirectory(const QString &caption, const QString &folder);

    // The dialogs in use; until something is installed, every dialog is cancelled, so nothing is
    // written unasked.
    static FileDialogs &current();
    // Installs `dialogs` (not owned) and returns the previous ones; nullptr restores the default.
    static FileDialogs *install(FileDialogs *dialogs);
};

} // namespace rawen
