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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_window || !isInput(event->type()))
            return false;
        if (watched == m_window->windowHandle())
            return true;
        const auto *widget = qobject_cast<const QWidget *>(watched);
        return widget && widget->window() == m_window;
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

void discardQueuedInput(QWidget *window)
{
    if (!window)
        return;
    InputSink sink(window->window());
    QCoreApplication::instance()->installEventFilter(&sink);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(&sink);
}

} // namespace rawen
