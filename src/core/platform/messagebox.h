#pragma once

#include <QString>

#include <optional>

namespace ferlin {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The title a message box shows when the caller gives none.
inline const QString &defaultMessageTitle()
{
    static const QString title = QStringLiteral("Ferlin 4");
    return title;
}

// The title shown for a message: no title gives "Ferlin 4"; an empty title stays empty and a
// blank stays a blank.
inline QString messageTitle(const std::optional<QString> &title)
{
    return title ? *title : defaultMessageTitle();
}

// The answer chosen when the user just confirms: the first button of the set.
inline MessageAnswer firstAnswer(MessageButtons buttons)
{
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

// Whether an answer is one of the buttons of a set.
inline bool isAnswerOf(MessageAnswer answer, MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::OkCancel:
        return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    }
    return false;
}

// Modal message boxes: an icon, a set of buttons, a text and an optional title. The text is
// shown as plain text (carriage return + line feed break the line).
class MessageBox {
public:
    virtual ~MessageBox() = default;

    MessageAnswer show(MessageIcon icon, MessageButtons buttons, const QString &text,
                       const std::optional<QString> &title = std::nullopt)
    {
        return ask(icon, buttons, text, title);
    }

protected:
    virtual MessageAnswer ask(MessageIcon icon, MessageButtons buttons, const QString &text,
                              const std::optional<QString> &title) = 0;
};

} // namespace ferlin
