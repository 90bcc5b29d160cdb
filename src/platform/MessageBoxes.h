#pragma once

#include <QString>

namespace rawen {

// Every message box and question of the program goes through this interface: the program shows
// real boxes, tests answer from a script and record what was shown. Texts break lines with "\r".
class MessageBoxes
{
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBoxes();

    // Shows a modal box and returns the button the user chose; closing a Yes/No box any other
    // way answers No.
    virtual Answer show(Icon icon, const QString &caption, const QString &text,
                        Buttons buttons) = 0;

    // The boxes the program uses, with the caption that goes with their type.
    void plain(const QString &text);
    void information(const QString &text);
    void warning(const QString &text);
    void error(const QString &text);
    // A question goes on only on Yes.
    bool question(const QString &text, Icon icon = Icon::Warning);

    static QString defaultCaption(Icon icon);

    // The boxes in use; until something is installed, boxes go to the log and questions are
    // answered No, so nothing happens unasked.
    static MessageBoxes &current();
    // Installs `boxes` (not owned) and returns the previous ones; nullptr restores the log.
    static MessageBoxes *install(MessageBoxes *boxes);
};

} // namespace rawen
