#include "platform/MessageBoxes.h"

#include <QDebug>

#include <utility>

namespace rawen {

namespace {

// Used before the program installs its boxes and in tools without a window.
class LoggedMessageBoxes final : public MessageBoxes
{
public:
    Answer show(Icon, const QString &caption, const QString &text, Buttons buttons) override
    {
        QString line = text;
        line.replace(u'\r', u'\n');
        qWarning().noquote() << caption + QStringLiteral(": ") + line;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

LoggedMessageBoxes &loggedBoxes()
{
    static LoggedMessageBoxes boxes;
    return boxes;
}

MessageBoxes *&installedBoxes()
{
    static MessageBoxes *boxes = nullptr;
    return boxes;
}

} // namespace

MessageBoxes::~MessageBoxes() = default;

void MessageBoxes::plain(const QString &text)
{
    show(Icon::None, defaultCaption(Icon::None), text, Buttons::Ok);
}

void MessageBoxes::information(const QString &text)
{
    show(Icon::Information, defaultCaption(Icon::Information), text, Buttons::Ok);
}

void MessageBoxes::warning(const QString &text)
{
    show(Icon::Warning, defaultCaption(Icon::Warning), text, Buttons::Ok);
}

void MessageBoxes::error(const QString &text)
{
    show(Icon::Error, defaultCaption(Icon::Error), text, Buttons::Ok);
}

bool MessageBoxes::question(const QString &text, Icon icon)
{
    return show(icon, defaultCaption(icon), text, Buttons::YesNo) == Answer::Yes;
}

QString MessageBoxes::defaultCaption(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QStringLiteral("Informacja");
    case Icon::Warning:
        return QStringLiteral("Ostrzeżenie");
    case Icon::Error:
        return QStringLiteral("Błąd");
    case Icon::Question:
        return QStringLiteral("Potwierdzenie");
    case Icon::None:
        break;
    }
    return QStringLiteral("RAWEN 2.0");
}

MessageBoxes &MessageBoxes::current()
{
    MessageBoxes *boxes = installedBoxes();
    return boxes ? *boxes : loggedBoxes();
}

MessageBoxes *MessageBoxes::install(MessageBoxes *boxes)
{
    return std::exchange(installedBoxes(), boxes);
}

} // namespace rawen
