#include "fakes/fakemessagebox.h"

#include <stdexcept>
#include <utility>

namespace ferlin {

bool RecordedMessage::operator==(const RecordedMessage &other) const
{
    return icon == other.icon && buttons == other.buttons && title == other.title &&
           text == other.text;
}

void FakeMessageBox::pushAnswer(MessageAnswer answer)
{
    m_script.push_back([answer](const RecordedMessage &) { return answer; });
}

void FakeMessageBox::pushResponder(Responder responder)
{
    m_script.push_back(std::move(responder));
}

void FakeMessageBox::clear()
{
    m_messages.clear();
    m_script.clear();
}

MessageAnswer FakeMessageBox::ask(MessageIcon icon, MessageButtons buttons, const QString &text,
                                  const std::optional<QString> &title)
{
    m_messages.append(RecordedMessage{icon, buttons, title, text});
    if (m_script.empty())
        return firstAnswer(buttons);
    const Responder responder = std::move(m_script.front());
    m_script.pop_front();
    const MessageAnswer answer = responder(m_messages.back());
    if (!isAnswerOf(answer, buttons))
        throw std::logic_error("scripted answer is not a button of the message: " +
                               text.toStdString());
    return answer;
}

} // namespace ferlin
