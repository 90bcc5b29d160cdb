#pragma once

#include "platform/OknoPostepu.h"

namespace rawen {

class Konsola;

// The progress window of a command run without a window: the console's progress line, drawn
// only on a terminal.
class PostepKonsoli final : public OknoPostepu
{
public:
    explicit PostepKonsoli(Konsola &konsola) : m_konsola(konsola) {}

    void Start(const QString &caption, int total) override;
    void Postep() override;
    void Stop() override;

private:
    Konsola &m_konsola;
    QString m_napis;
    qint64 m_razem = 0;
    qint64 m_kroki = 0;
};

} // namespace rawen
