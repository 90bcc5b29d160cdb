#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

// The system's printers as the print window sees them. The choice of a printer holds for this
// run only; every run starts on the system's current printer.
class Printers
{
public:
    virtual ~Printers() = default;

    // The installed printers, in the order the list shows them; empty when there is none.
    virtual QStringList names() const = 0;
    // The printer that prints now: the system's default until select() picks another.
    virtual QString currentName() const = 0;
    // Makes `name`, one of names(), the printer of this run.
    virtual void select(const QString &name) = 0;
    // Runs the system's printer setup dialog for the current printer.
    virtual void setup() = 0;
};

} // namespace rawen
