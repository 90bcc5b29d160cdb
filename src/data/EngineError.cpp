#include "data/EngineError.h"

namespace rawen {

EngineError::EngineError(Kind kind, const QString &message)
    : m_kind(kind), m_message(message), m_utf8(message.toUtf8())
{}

} // namespace rawen
