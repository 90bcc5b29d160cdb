#include "platform/DurableFiles.h"

#include <QList>

#include <mutex>

namespace rawen {

namespace {

struct Warning
{
    QString text;
    bool taken = false;
};

std::mutex &warningLock()
{
    static std::mutex lock;
    return lock;
}

// Every warning of the process, in order; a watch remembers where it began.
QList<Warning> &warnings()
{
    static QList<Warning> kept;
    return kept;
}

} // namespace

void keepDurabilityWarning(const QString &text)
{
    const std::lock_guard<std::mutex> guard(warningLock());
    warnings().append({text, false});
}

DurabilityWatch::DurabilityWatch()
{
    const std::lock_guard<std::mutex> guard(warningLock());
    m_start = warnings().size();
}

QStringList DurabilityWatch::takeWarnings()
{
    const std::lock_guard<std::mutex> guard(warningLock());
    QStringList texts;
    QList<Warning> &kept = warnings();
    for (qsizetype i = m_start; i < kept.size(); ++i) {
        if (!kept[i].taken && !texts.contains(kept[i].text))
            texts << kept[i].text;
        kept[i].taken = true;
    }
    return texts;
}

bool DurabilityWatch::anyWarning() const
{
    const std::lock_guard<std::mutex> guard(warningLock());
    return warnings().size() > m_start;
}

} // namespace rawen
