// Message boxes: the title rules, the fake's script, and the real QMessageBox driven on screen.
#include "fakes/fakemessagebox.h"
#include "gui/platform/qtmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace ferlin;

namespace {

const QString Text = QStringLiteral("Le CD n'est pas le bon.\r\nMettre le CD n° 2 dans le lecteur");

// Runs `handle` on the message box as soon as it is shown modally; true once it ran.
void whenMessageBoxShown(const std::function<void(QMessageBox *)> &handle, bool *ran)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle, ran] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        *ran = true;
        handle(box);
    });
    poll->start(10);
}

QStringList buttonTexts(QMessageBox *box)
{
    QStringList texts;
    for (QAbstractButton *button : box->buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

TEST(FakeMessageBox, RecordsTheTitleExactly)
{
    FakeMessageBox messages;
    messages.show(MessageIcon::Critical, MessageButtons::Ok, Text);
    messages.show(MessageIcon::None, MessageButtons::Ok, Text, QString());
    messages.show(MessageIcon::Information, MessageButtons::Ok, Text, QStringLiteral(" "));

    ASSERT_EQ(messages.messages().size(), 3);
    EXPECT_EQ(messages.messages()[0].title, std::nullopt);
    EXPECT_EQ(messages.messages()[0].shownTitle(), QStringLiteral("Ferlin 4"));
    EXPECT_EQ(messages.messages()[1].title, std::optional<QString>(QString()));
    EXPECT_EQ(messages.messages()[1].shownTitle(), QString());
    EXPECT_EQ(messages.messages()[2].shownTitle(), QStringLiteral(" "));
    EXPECT_EQ(messages.messages()[0],
              (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, std::nullopt, Text}));
}

TEST(FakeMessageBox, AnswersFromItsScriptThenWithTheFirstButton)
{
    FakeMessageBox messages;
    messages.pushAnswer(MessageAnswer::No);
    int seen = 0;
    messages.pushResponder([&seen](const RecordedMessage &message) {
        seen = int(message.text.size());
        return MessageAnswer::Cancel;
    });

    EXPECT_EQ(messages.show(MessageIcon::Question, MessageButtons::YesNo, Text), MessageAnswer::No);
    EXPECT_EQ(messages.show(MessageIcon::None, MessageButtons::OkCancel, QStringLiteral("abc")),
              MessageAnswer::Cancel);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(messages.show(MessageIcon::None, MessageButtons::YesNo, Text), MessageAnswer::Yes);
    EXPECT_EQ(messages.show(MessageIcon::None, MessageButtons::OkCancel, Text), MessageAnswer::Ok);

    // An answer that is not a button of the message is the test's mistake.
    messages.pushAnswer(MessageAnswer::Yes);
    EXPECT_THROW(messages.show(MessageIcon::None, MessageButtons::Ok, Text), std::logic_error);
}

TEST(QtMessageBox, ShowsTheTitleRulesFrenchButtonsAndPlainLines)
{
    struct Case {
        std::optional<QString> title;
        QString shown;
    };
    const Case cases[] = {{std::nullopt, QStringLiteral("Ferlin 4")},
                          {QString(), QString()},
                          {QStringLiteral(" "), QStringLiteral(" ")},
                          {QStringLiteral(" Erreur"), QStringLiteral(" Erreur")}};
    QtMessageBox messages;
    for (const Case &c : cases) {
        bool ran = false;
        QString title, text;
        QStringList buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenMessageBoxShown(
            [&](QMessageBox *box) {
                title = box->windowTitle();
                text = box->text();
                buttons = buttonTexts(box);
                icon = box->icon();
                buttonWithText(box, QStringLiteral("Non"))->click();
            },
            &ran);
        const MessageAnswer answer =
            messages.show(MessageIcon::Question, MessageButtons::YesNo, Text, c.title);
        ASSERT_TRUE(ran);
        EXPECT_EQ(answer, MessageAnswer::No);
        EXPECT_EQ(title, c.shown);
        EXPECT_EQ(text,
                  QStringLiteral("Le CD n'est pas le bon.\nMettre le CD n° 2 dans le lecteur"));
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("Non"), QStringLiteral("Oui")}));
        EXPECT_EQ(icon, QMessageBox::Question);
    }
}

TEST(QtMessageBox, OkCancelAnswersWithTheButtonPressedOrCancelOnEscape)
{
    QtMessageBox messages;
    bool ran = false;
    QStringList buttons;
    whenMessageBoxShown(
        [&](QMessageBox *box) {
            buttons = buttonTexts(box);
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            buttonWithText(box, QStringLiteral("OK"))->click();
        },
        &ran);
    EXPECT_EQ(messages.show(MessageIcon::Exclamation, MessageButtons::OkCancel, Text),
              MessageAnswer::Ok);
    EXPECT_TRUE(ran);
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Annuler"), QStringLiteral("OK")}));

    ran = false;
    whenMessageBoxShown([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); }, &ran);
    EXPECT_EQ(messages.show(MessageIcon::Critical, MessageButtons::OkCancel, Text),
              MessageAnswer::Cancel);
    EXPECT_TRUE(ran);

    // A single OK button: Enter confirms it.
    ran = false;
    whenMessageBoxShown([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); }, &ran);
    EXPECT_EQ(messages.show(MessageIcon::Information, MessageButtons::Ok, Text), MessageAnswer::Ok);
    EXPECT_TRUE(ran);
}
