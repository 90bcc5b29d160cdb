#include "platform/EngineError.h"

namespace rawen {

EngineError::EngineError(Kind kind, const QString &message)
    : m_kind(kind), m_message(message), m_cause(message), m_utf8(message.toUtf8())
{}

EngineError::EngineError(Kind kind, const QString &context, const QString &cause)
    : m_kind(kind), m_message(QStringLiteral("%1: %2").arg(context, cause)), m_cause(cause),
      m_utf8(m_message.toUtf8())
{}

} // namespace rawen
