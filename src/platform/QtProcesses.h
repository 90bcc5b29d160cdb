#pragma once

#include "platform/Processes.h"

namespace rawen {

// QProcess::startDetached. "File not found" is the program file being missing; any other
// failure to start is Failed.
class QtProcesses final : public Processes
{
public:
    Result startDetached(const QString &program, const QStringList &arguments) override;
};

} // namespace rawen
