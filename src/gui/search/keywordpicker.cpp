#include "gui/search/keywordpicker.h"

#include "core/context/appcontext.h"
#include "core/search/criteria.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/captioncolours.h"
#include "gui/shell/rowchoice.h"
#include "gui/shell/screenhost.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

template <typename T> T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QLabel *label(const QString &name, const QString &caption, QWidget *parent)
{
    return named(new QLabel(caption, parent), name);
}

QString withoutTrailingSpaces(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

} // namespace

int firstEntryBeginningWith(const QListWidget &list, const QString &typed)
{
    const QString text = typed.trimmed();
    const int entries = list.count();
    for (int step = 1; step <= entries; ++step) {
        const int row = step % entries; // the first entry comes last
        if (list.item(row)->text().startsWith(text, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

void highlightFirstEntryBeginningWith(QListWidget &list, const QString &typed)
{
    const int row = firstEntryBeginningWith(list, typed);
    if (row < 0)
        return;
    QListWidgetItem *item = list.item(row);
    list.setCurrentItem(item);
    list.scrollToItem(item);
}

KeywordPicker::KeywordPicker(ScreenHost &window, QWidget *parent)
    : QDialog(parent), m_window(window)
{
    setObjectName(QStringLiteral("Clesfr"));
    setWindowTitle(QStringLiteral("Sélection des mots clés"));

    const RunState &state = window.context().state;

    m_keywords = named(new QListWidget(this), QStringLiteral("List1"));
    m_keywords->setUniformItemSizes(true);
    m_keywords->addItems(state.keywordList);
    auto *keywordsHeading =
        label(QStringLiteral("Lab_listemots"),
              QStringLiteral("Liste des mots clés (") + QString::number(m_keywords->count()) +
                  QStringLiteral(" mots)"),
              this);

    m_seeAlso = named(new QListWidget(this), QStringLiteral("List2"));
    m_seeAlso->setUniformItemSizes(true);
    m_seeAlso->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_seeAlso->addItems(state.seeAlsoList);
    auto *seeAlsoHeading = label(QStringLiteral("Label3"),
                                 QStringLiteral("Liste des \"voir\" et \"voir aussi\""), this);

    m_typed = named(new QLineEdit(this), QStringLiteral("T_Achercher"));
    auto *typedHeading =
        label(QStringLiteral("Label1"), QStringLiteral("Tapez le début du mot cherché"), this);

    auto *firstHeading =
        label(QStringLiteral("Label2"), QStringLiteral("Premier mot sélectionné"), this);
    m_first = label(QStringLiteral("Lab_mot1"), QString(), this);
    m_first->setFrameShape(QFrame::StyledPanel);
    m_first->setMinimumWidth(180);
    m_first->setCursor(Qt::PointingHandCursor);
    m_first->installEventFilter(this);

    m_optionGroup = new QButtonGroup(this);
    const std::array<QString, 3> captions{QStringLiteral("ET"), QStringLiteral("OU"),
                                          QStringLiteral("SAUF")};
    const std::array<QString, 3> listNames{QStringLiteral("L_ET"), QStringLiteral("L_OU"),
                                           QStringLiteral("L_SAUF")};
    auto *joinedGrid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto *option = named(new QRadioButton(captions[size_t(i)], this),
                             QStringLiteral("Option_mots_") + QString::number(i));
        m_optionGroup->addButton(option, i);
        paintCaption(option, i == 0 ? CaptionOn : CaptionOff);
        m_options[size_t(i)] = option;
        auto *list = named(new QListWidget(this), listNames[size_t(i)]);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setMinimumHeight(160);
        m_joined[size_t(i)] = list;
        joinedGrid->addWidget(option, 0, i, Qt::AlignLeft);
        joinedGrid->addWidget(list, 1, i);
    }
    m_options[0]->setChecked(true);

    m_counter = label(QStringLiteral("Lab_nbclés"), QStringLiteral("Pas de mot sélectionné"), this);
    auto *next = named(new QPushButton(QStringLiteral("Suite"), this), QStringLiteral("Command1"));
    // Enter in the text box must not close the picker.
    next->setAutoDefault(false);

    auto *left = new QVBoxLayout;
    left->addWidget(keywordsHeading);
    left->addWidget(m_keywords, 1);
    auto *middle = new QVBoxLayout;
    middle->addWidget(typedHeading);
    middle->addWidget(m_typed);
    middle->addSpacing(12);
    middle->addWidget(seeAlsoHeading);
    middle->addWidget(m_seeAlso, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(firstHeading);
    right->addWidget(m_first);
    right->addSpacing(12);
    right->addLayout(joinedGrid);
    right->addWidget(m_counter);
    right->addStretch();
    right->addWidget(next, 0, Qt::AlignRight);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(middle, 3);
    layout->addLayout(right, 4);
    resize(980, 620);

    connect(m_typed, &QLineEdit::textChanged, this, [this](const QString &text) {
        highlightFirstEntryBeginningWith(*m_keywords, text);
        highlightFirstEntryBeginningWith(*m_seeAlso, text);
    });
    onRowChosen(m_keywords, [this](int row) { chooseKeyword(m_keywords->item(row)->text()); });
    for (int i = 0; i < 3; ++i) {
        QListWidget *list = m_joined[size_t(i)];
        onRowChosen(list, [this, i, list](int row) { removeJoined(i, list->item(row)); });
    }
    connect(m_optionGroup, &QButtonGroup::idClicked, this, &KeywordPicker::chooseOption);
    connect(next, &QPushButton::clicked, this, &KeywordPicker::copyChoice);

    showChoice();
    if (keywordCount() > 0)
        showCounter();
    nameControlsForAccessibility(this);
}

KeywordChoice &KeywordPicker::choice() const
{
    return m_window.context().state.keywords;
}

QStringList &KeywordPicker::joinedList(int option) const
{
    KeywordChoice &c = choice();
    switch (option) {
    case 1:
        return c.ou;
    case 2:
        return c.sauf;
    default:
        return c.et;
    }
}

int KeywordPicker::keywordCount() const
{
    return choice().count();
}

QString KeywordPicker::joinedCaption(const QStringList &words)
{
    QString caption;
    for (const QString &word : words)
        caption += word + QChar(10) + u' ';
    return caption;
}

QString KeywordPicker::counterText(int count)
{
    if (count <= 0)
        return QStringLiteral(" Pas de mot sélectionné.");
    if (count == 1)
        return QStringLiteral(" 1 mot sélectionné.");
    return u' ' + QString::number(count) + QStringLiteral(" mots sélectionnés.");
}

void KeywordPicker::chooseKeyword(const QString &word)
{
    KeywordChoice &c = choice();
    const int count = c.count();
    if (count == 0) {
        c.first = word;
    } else {
        if (count >= m_window.context().state.keywordLimit || word == c.first)
            return;
        const QString bare = withoutTrailingSpaces(word);
        for (const QStringList *list : {&c.et, &c.ou, &c.sauf}) {
            for (const QString &entry : *list) {
                if (withoutTrailingSpaces(entry) == bare)
                    return;
            }
        }
        joinedList(m_optionGroup->checkedId()).append(word);
    }
    showChoice();
    showCounter();
}

void KeywordPicker::removeJoined(int option, QListWidgetItem *item)
{
    const int row = m_joined[size_t(option)]->row(item);
    QStringList &list = joinedList(option);
    if (row < 0 || row >= list.size())
        return;
    list.removeAt(row);
    showChoice();
    showCounter();
}

void KeywordPicker::removeFirstKeyword()
{
    const int count = keywordCount();
    if (count == 0)
        return;
    if (count > 1) {
        m_window.context().platform.messageBox.show(
            MessageIcon::Exclamation, MessageButtons::Ok,
            QStringLiteral("Ce mot ne peut pas être effacé tant qu'il y a d'autres mots ET, OU "
                           "ou SAUF"),
            QStringLiteral("Attention"));
        return;
    }
    choice().first.clear();
    showChoice();
    showCounter();
}

void KeywordPicker::chooseOption(int option)
{
    for (QRadioButton *button : m_options)
        paintCaption(button, CaptionOff);
    paintCaption(m_options[size_t(option)], CaptionOn);
}

void KeywordPicker::copyChoice()
{
    const KeywordChoice &c = choice();
    Q_EMIT choiceCopied(c.first, joinedCaption(c.et), joinedCaption(c.ou), joinedCaption(c.sauf));
    hide();
}

void KeywordPicker::reject()
{
    copyChoice();
    QDialog::reject();
}

bool KeywordPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_first && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_first->rect().contains(mouse->position().toPoint()))
            removeFirstKeyword();
    }
    return QDialog::eventFilter(watched, event);
}

void KeywordPicker::showChoice()
{
    const KeywordChoice &c = choice();
    m_first->setText(c.first);
    const std::array<const QStringList *, 3> lists{&c.et, &c.ou, &c.sauf};
    const bool chosen = c.count() > 0;
    for (size_t i = 0; i < 3; ++i) {
        m_joined[i]->clear();
        m_joined[i]->addItems(*lists[i]);
        m_joined[i]->setVisible(chosen);
        m_options[i]->setVisible(chosen);
    }
}

void KeywordPicker::showCounter()
{
    m_counter->setText(counterText(keywordCount()));
}

} // namespace ferlin
