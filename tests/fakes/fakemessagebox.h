#pragma once

#include "core/platform/messagebox.h"

#include <QList>

#include <deque>
#include <functional>

namespace ferlin {

// One message as a screen asked for it.
struct RecordedMessage {
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    std::optional<QString> title; // empty optional: no title given ("Ferlin 4" on screen)
    QString text;

    // The title the user would see.
    QString shownTitle() const { return messageTitle(title); }
    bool operator==(const RecordedMessage &other) const;
};

// Records every message exactly and answers from a script. With no answer left it takes the
// first button (Ok, or Yes). A scripted answer that is not one of the message's buttons is a
// mistake of the test and throws std::logic_error.
class FakeMessageBox : public MessageBox {
public:
    using Responder = std::function<MessageAnswer(const RecordedMessage &)>;

    // The answer to the next message not yet answered.
    void pushAnswer(MessageAnswer answer);
    // A reply computed when the message comes (to change the world before answering, such as
    // putting the right disc in the drive).
    void pushResponder(Responder responder);

    const QList<RecordedMessage> &messages() const { return m_messages; }
    const RecordedMessage &lastMessage() const { return m_messages.back(); }
    int pendingAnswers() const { return int(m_script.size()); }
    void clear();

protected:
    MessageAnswer ask(MessageIcon icon, MessageButtons buttons, const QString &text,
                      const std::optional<QString> &title) override;

private:
    QList<RecordedMessage> m_messages;
    std::deque<Responder> m_script;
};

} // namespace ferlin
