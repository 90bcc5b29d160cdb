#pragma once

#include <QString>
#include <QStringList>

namespace rawen {

// Starting other programs. The program started inherits this one's current directory and
// environment; nobody waits for it or watches it.
class Processes
{
public:
    enum class Result { Started, FileNotFound, Failed };

    virtual ~Processes() = default;

    // Starts `program` with `arguments` as separate arguments, without a shell.
    virtual Result startDetached(const QString &program, const QStringList &arguments) = 0;
};

} // namespace rawen
