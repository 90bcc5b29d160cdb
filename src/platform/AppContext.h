#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace rawen {

// What the program takes from its surroundings at start: today's date, its own path, its command
// line and the current directory. Code reads them here and never from the system, so tests can
// fix them.
class AppContext
{
public:
    QDate today;
    QString executablePath;
    QStringList arguments; // without the program itself
    QString currentDirectory;
    // The user's home folder, where the first-run window suggests new data roots.
    QString homeDirectory;
    // The data root chosen at start (the command line, the user's settings or the first-run
    // window); empty: the executable's directory, for a program that lives in its data root.
    QString chosenDataRoot;
    // The user said to work on a data root on a network drive all the same: the option
    // --mimo-dysku-sieciowego, which the program takes off its command line before anything
    // else reads it.
    bool networkDriveAllowed = false;

    // Read from the running process; needs the Qt application object.
    static AppContext fromSystem();

    static const AppContext &current();
    static void setCurrent(const AppContext &context);

    // The start-up date as the program shows and stores it: yyyy.mm.dd.
    QString startDate() const;

    // Where firm 000, the templates, the firm directories and the module programs live, with a
    // closing separator: the chosen data root, else the executable's directory.
    QString dataRoot() const;
    // The executable's directory with a closing separator.
    QString executableDirectory() const;
};

} // namespace rawen
