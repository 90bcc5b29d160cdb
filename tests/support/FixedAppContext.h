#pragma once

#include "platform/AppContext.h"

namespace rawen::test {

// Sets the application context for the object's lifetime and puts the previous one back.
class FixedAppContext
{
public:
    explicit FixedAppContext(const AppContext &context);
    // Today is `today`; the program runs from `executablePath` with no arguments.
    explicit FixedAppContext(QDate today,
                             const QString &executablePath = QStringLiteral("/opt/rawen/rawen"));
    ~FixedAppContext();
    FixedAppContext(const FixedAppContext &) = delete;
    FixedAppContext &operator=(const FixedAppContext &) = delete;

private:
    AppContext m_previous;
};

} // namespace rawen::test
