#include "platform/PostepKonsoli.h"

#include "platform/Konsola.h"

namespace rawen {

void PostepKonsoli::Start(const QString &caption, int total)
{
    m_napis = caption;
    m_razem = total;
    m_kroki = 0;
    m_konsola.postep(m_napis, 0, m_razem);
}

void PostepKonsoli::Postep()
{
    m_konsola.postep(m_napis, ++m_kroki, m_razem);
}

void PostepKonsoli::Stop()
{
    m_konsola.koniecPostepu();
}

} // namespace rawen
