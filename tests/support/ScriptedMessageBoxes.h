#pragma once

#include "platform/MessageBoxes.h"
#include "support/QtPrinting.h"

#include <QList>
#include <QString>

namespace rawen::test {

struct ShownBox
{
    MessageBoxes::Icon icon;
    QString caption;
    QString text;
    MessageBoxes::Buttons buttons;
    MessageBoxes::Answer answer;
};

// Message boxes for tests, installed for the object's lifetime. OK boxes are answered OK; each
// Yes/No box takes the next scripted answer. A question nobody scripted, or an answer left over
// at the end, fails the running test.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;
    ScriptedMessageBoxes(const ScriptedMessageBoxes &) = delete;
    ScriptedMessageBoxes &operator=(const ScriptedMessageBoxes &) = delete;

    void answerNext(Answer answer);
    // The next OK box is closed another way than with its OK button (it answers No).
    void closeNextOkBox() { ++m_okBoxesToClose; }
    const QList<ShownBox> &shown() const { return m_shown; }
    // The texts shown so far, in order.
    QStringList texts() const;

    Answer show(Icon icon, const QString &caption, const QString &text, Buttons buttons) override;

private:
    QList<Answer> m_script;
    int m_okBoxesToClose = 0;
    QList<ShownBox> m_shown;
    MessageBoxes *m_previous;
};

} // namespace rawen::test
