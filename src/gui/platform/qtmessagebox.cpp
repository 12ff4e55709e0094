#include "gui/platform/qtmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace ferlin {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// The answer of the button that closed the box; a box closed otherwise counts as its escape
// answer (Cancel, No, or Ok when Ok is the only button).
MessageAnswer answerOf(int clicked, MessageButtons buttons)
{
    switch (clicked) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        break;
    }
    switch (buttons) {
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return MessageAnswer::Ok;
}

void setButtonText(QMessageBox &box, QMessageBox::StandardButton which, const QString &text)
{
    if (QAbstractButton *button = box.button(which))
        button->setText(text);
}

} // namespace

QString QtMessageBox::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MessageAnswer QtMessageBox::ask(MessageIcon icon, MessageButtons buttons, const QString &text,
                                const std::optional<QString> &title)
{
    QWidget *parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    QMessageBox box(parent);
    box.setIcon(qtIcon(icon));
    box.setWindowTitle(messageTitle(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    box.setStandardButtons(qtButtons(buttons));
    setButtonText(box, QMessageBox::Ok, QStringLiteral("OK"));
    setButtonText(box, QMessageBox::Cancel, QStringLiteral("Annuler"));
    setButtonText(box, QMessageBox::Yes, QStringLiteral("Oui"));
    setButtonText(box, QMessageBox::No, QStringLiteral("Non"));
    box.setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    return answerOf(box.exec(), buttons);
}

} // namespace ferlin
