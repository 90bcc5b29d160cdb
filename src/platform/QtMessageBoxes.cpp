#include "platform/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace rawen {

namespace {

QMessageBox::Icon qtIcon(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Error:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::Question:
        return QMessageBox::Question;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtMessageBoxes::QtMessageBoxes(QWidget *parent) : m_parent(parent)
{}

std::unique_ptr<QMessageBox> QtMessageBoxes::build(Icon icon, const QString &caption,
                                                   const QString &text, Buttons buttons,
                                                   QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(qtIcon(icon));
    box->setWindowTitle(caption);
    // Names of firms and files go into these texts: never let them be read as markup.
    box->setTextFormat(Qt::PlainText);
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    box->setText(lines);
    if (buttons == Buttons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::Yes)->setText(QStringLiteral("Tak"));
        box->button(QMessageBox::No)->setText(QStringLiteral("Nie"));
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    }
    return box;
}

MessageBoxes::Answer QtMessageBoxes::show(Icon icon, const QString &caption, const QString &text,
                                          Buttons buttons)
{
    QWidget *parent = m_parent ? m_parent : QApplication::activeWindow();
    const auto box = build(icon, caption, text, buttons, parent);
    const int chosen = box->exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return chosen == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace rawen
