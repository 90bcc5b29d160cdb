#pragma once

#include <QString>

namespace rawen {

// The progress window as long operations see it: they call Start once, Postep once per step and
// Stop at the end.
class OknoPostepu
{
public:
    virtual ~OknoPostepu() = default;

    virtual void Start(const QString &caption, int total) = 0;
    virtual void Postep() = 0;
    virtual void Stop() = 0;
};

} // namespace rawen
