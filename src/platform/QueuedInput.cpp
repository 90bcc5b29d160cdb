#include "platform/QueuedInput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace rawen {

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
        return true;
    default:
        return false;
    }
}

class InputSink final : public QObject
{
public:
    explicit InputSink(QWidget *window) : m_window(window) {}
    int dropped() const { return m_dropped; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_window || !isInput(event->type()))
            return false;
        const auto *widget = qobject_cast<const QWidget *>(watched);
        if (watched != m_window->windowHandle() && !(widget && widget->window() == m_window))
            return false;
        ++m_dropped;
        return true;
    }

private:
    QPointer<QWidget> m_window;
    int m_dropped = 0;
};

// Input that waited is delivered in batches: a pass of the event loop may bring only part of it.
constexpr int kMostPasses = 50;

} // namespace

void discardQueuedInput(QWidget *window)
{
    if (!window)
        return;
    InputSink sink(window->window());
    QCoreApplication::instance()->installEventFilter(&sink);
    for (int pass = 0; pass < kMostPasses; ++pass) {
        const int before = sink.dropped();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (pass > 0 && sink.dropped() == before)
            break;
    }
    QCoreApplication::instance()->removeEventFilter(&sink);
}

} // namespace rawen
