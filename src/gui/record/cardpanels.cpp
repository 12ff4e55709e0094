#include "gui/record/cardpanels.h"

#include "core/record/goto.h"
#include "gui/shell/optiongroup.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ferlin {

namespace {

QLineEdit *box(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    return edit;
}

} // namespace

NavigationPanel::NavigationPanel(QWidget *parent)
    : QGroupBox(QStringLiteral(" Navigation "), parent)
{
    setObjectName(QStringLiteral("Frame_Navigue"));
    const char *captions[] = {"Aller à l'année ..............", "Aller au bulletin numéro",
                              "Aller à la référence ......"};
    for (int i = 0; i < 3; ++i) {
        m_options[size_t(i)] = new QRadioButton(QString::fromUtf8(captions[i]), this);
        m_options[size_t(i)]->setObjectName(QStringLiteral("Option1_") + QString::number(i));
    }
    exclusiveGroup(this, m_options);
    m_year = box("Text_An", this);
    m_bulletin = box("Text_Volume", this);
    m_page = box("T_NavPage", this);
    m_reference = box("Text_NumRef", this);
    auto *pageLabel = new QLabel(QStringLiteral("Page"), this);
    pageLabel->setObjectName(QStringLiteral("Lab_NavPage"));
    auto *go = new QPushButton(QStringLiteral("Aller"), this);
    go->setObjectName(QStringLiteral("Command1"));
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command5"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_options[0], 0, 0);
    grid->addWidget(m_year, 0, 1);
    grid->addWidget(m_options[1], 1, 0);
    grid->addWidget(m_bulletin, 1, 1);
    grid->addWidget(pageLabel, 1, 2);
    grid->addWidget(m_page, 1, 3);
    grid->addWidget(m_options[2], 2, 0);
    grid->addWidget(m_reference, 2, 1);
    grid->addWidget(go, 3, 2);
    grid->addWidget(cancel, 3, 3);

    auto select = [this](int option) { m_options[size_t(option)]->setChecked(true); };
    connect(m_year, &QLineEdit::textChanged, this, [select] { select(0); });
    connect(m_bulletin, &QLineEdit::textChanged, this, [select] { select(1); });
    connect(m_page, &QLineEdit::textChanged, this, [select] { select(1); });
    connect(m_reference, &QLineEdit::textChanged, this, [select] { select(2); });
    for (QLineEdit *edit : {m_year, m_bulletin, m_page, m_reference})
        edit->installEventFilter(this);
    connect(go, &QPushButton::clicked, this, &NavigationPanel::goRequested);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
}

bool NavigationPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Releasing Enter in one of the boxes acts as "Aller", but only when it was pressed there
    // too: the release of the Enter that closed a message lands in the box and must do nothing.
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            if (type == QEvent::KeyPress) {
                m_enterPressedIn = watched;
                return QGroupBox::eventFilter(watched, event);
            }
            const bool pressedHere = m_enterPressedIn == watched;
            m_enterPressedIn = nullptr;
            if (pressedHere)
                Q_EMIT goRequested();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

GoToRequest NavigationPanel::request() const
{
    GoToRequest request;
    for (int i = 0; i < 3; ++i) {
        if (m_options[size_t(i)]->isChecked())
            request.option = i;
    }
    request.year = m_year->text();
    request.bulletin = m_bulletin->text();
    request.page = m_page->text();
    request.reference = m_reference->text();
    return request;
}

void NavigationPanel::apply(const GoToResult &result)
{
    // Rewriting the boxes must not change the option the user chose.
    const QSignalBlocker blockYear(m_year), blockBulletin(m_bulletin), blockPage(m_page),
        blockReference(m_reference);
    m_year->setText(result.year);
    m_bulletin->setText(result.bulletin);
    m_page->setText(result.page);
    m_reference->setText(result.reference);
    if (result.closePanel)
        hide();
}

AddPanel::AddPanel(Kind kind, QWidget *parent)
    : QGroupBox(QStringLiteral("  Ajout de la référence à un panier "), parent)
{
    const bool fromBase = kind == FromBase;
    setObjectName(fromBase ? QStringLiteral("Frame_Ajoute") : QStringLiteral("Frame_AjoutP"));
    const QString optionName = fromBase ? QStringLiteral("Option2_") : QStringLiteral("Option3_");
    const QString caption =
        fromBase ? QStringLiteral("Ajouter au panier n° ") : QStringLiteral("Ajout au panier n° ");
    const QString suffix = fromBase ? QString() : QStringLiteral("b");
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(caption + QString::number(i + 1), this);
        option->setObjectName(optionName + QString::number(i));
        m_options[size_t(i)] = option;
        auto *label = new QLabel(QStringLiteral("Références :"), this);
        auto *count = new QLabel(this);
        count->setObjectName(QStringLiteral("Lab_NbRefP") + QString::number(i + 1) + suffix);
        m_counts[size_t(i)] = count;
        grid->addWidget(option, i, 0);
        grid->addWidget(label, i, 1);
        grid->addWidget(count, i, 2);
    }
    m_options[0]->setChecked(true);
    exclusiveGroup(this, m_options);
    auto *add = new QPushButton(QStringLiteral("Ajouter"), this);
    add->setObjectName(fromBase ? QStringLiteral("Command2") : QStringLiteral("Cmd_AP"));
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(fromBase ? QStringLiteral("Command3") : QStringLiteral("Command4"));
    grid->addWidget(add, 3, 1);
    grid->addWidget(cancel, 3, 2);
    connect(add, &QPushButton::clicked, this, [this] { Q_EMIT addRequested(chosenBasket()); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
}

int AddPanel::chosenBasket() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_options[size_t(i)]->isChecked())
            return i + 1;
    }
    return 1;
}

void AddPanel::excludeBasket(int basket)
{
    for (int i = 0; i < 3; ++i)
        m_options[size_t(i)]->setEnabled(i + 1 != basket);
    m_options[basket == 1 ? 1 : 0]->setChecked(true);
}

} // namespace ferlin
