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

    // The executable's directory with a closing separator: firm 000, the templates, the firm
    // directories and the module programs live there.
    QString dataRoot() const;
};

} // namespace rawen
