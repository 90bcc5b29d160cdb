#include "support/ScriptedMessageBoxes.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace rawen::test {

ScriptedMessageBoxes::ScriptedMessageBoxes() : m_previous(MessageBoxes::install(this))
{}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    MessageBoxes::install(m_previous);
    EXPECT_TRUE(m_script.isEmpty()) << m_script.size() << " scripted answer(s) never asked for";
    EXPECT_EQ(m_okBoxesToClose, 0) << "an OK box to close was never shown";
}

void ScriptedMessageBoxes::answerNext(Answer answer)
{
    m_script.append(answer);
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList result;
    for (const ShownBox &box : m_shown)
        result.append(box.text);
    return result;
}

MessageBoxes::Answer ScriptedMessageBoxes::show(Icon icon, const QString &caption,
                                                const QString &text, Buttons buttons)
{
    Answer answer = Answer::Ok;
    if (buttons == Buttons::Ok && m_okBoxesToClose > 0) {
        --m_okBoxesToClose;
        answer = Answer::No;
    } else if (buttons == Buttons::YesNo) {
        if (m_script.isEmpty()) {
            ADD_FAILURE() << "unscripted question: " << text.toStdString();
            answer = Answer::No;
        } else {
            answer = m_script.takeFirst();
        }
    }
    m_shown.append({icon, caption, text, buttons, answer});
    return answer;
}

} // namespace rawen::test
