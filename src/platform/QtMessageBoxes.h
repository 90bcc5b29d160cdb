#pragma once

#include "platform/MessageBoxes.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace rawen {

// The program's message boxes: modal QMessageBox windows with Polish buttons.
class QtMessageBoxes final : public MessageBoxes
{
public:
    // Boxes open over `parent`, or over the active window when it is null.
    explicit QtMessageBoxes(QWidget *parent = nullptr);

    Answer show(Icon icon, const QString &caption, const QString &text, Buttons buttons) override;

    // The box as it will be shown; the texts are plain text, never markup.
    static std::unique_ptr<QMessageBox> build(Icon icon, const QString &caption,
                                              const QString &text, Buttons buttons,
                                              QWidget *parent = nullptr);

private:
    QWidget *m_parent;
};

} // namespace rawen
