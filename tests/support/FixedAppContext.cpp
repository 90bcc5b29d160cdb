#include "support/FixedAppContext.h"

#include <QFileInfo>

namespace rawen::test {

FixedAppContext::FixedAppContext(const AppContext &context) : m_previous(AppContext::current())
{
    AppContext::setCurrent(context);
}

FixedAppContext::FixedAppContext(QDate today, const QString &executablePath)
    : m_previous(AppContext::current())
{
    AppContext context;
    context.today = today;
    context.executablePath = executablePath;
    context.currentDirectory = QFileInfo(executablePath).absolutePath();
    AppContext::setCurrent(context);
}

FixedAppContext::~FixedAppContext()
{
    AppContext::setCurrent(m_previous);
}

} // namespace rawen::test
