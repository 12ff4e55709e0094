#include "gui/search/authorpicker.h"

#include "core/context/appcontext.h"
#include "gui/search/keywordpicker.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/rowchoice.h"
#include "gui/shell/screenhost.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace ferlin {

AuthorPicker::AuthorPicker(ScreenHost &window, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_auteur"));
    setWindowTitle(QStringLiteral("Liste des auteurs"));

    m_authors = new QListWidget(this);
    m_authors->setObjectName(QStringLiteral("List1"));
    m_authors->setUniformItemSizes(true);
    m_authors->addItems(window.context().state.authorList);

    auto *heading = new QLabel(QStringLiteral("Tapez le début du nom"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    m_typed = new QLineEdit(this);
    m_typed->setObjectName(QStringLiteral("T_DébutNom"));
    auto *close = new QPushButton(QStringLiteral("X"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setToolTip(QStringLiteral("Fermer la liste des auteurs"));
    // Enter in the text box chooses the typed name; it must not press this button.
    close->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(heading, 0, 0);
    layout->addWidget(close, 0, 1, Qt::AlignRight);
    layout->addWidget(m_typed, 1, 0, 1, 2);
    layout->addWidget(m_authors, 2, 0, 1, 2);
    resize(360, 520);

    connect(m_typed, &QLineEdit::textChanged, this,
            [this](const QString &text) { highlightFirstEntryBeginningWith(*m_authors, text); });
    connect(m_typed, &QLineEdit::returnPressed, this,
            [this] { Q_EMIT authorChosen(m_typed->text()); });
    onRowChosen(m_authors, [this](int row) { chooseListedAuthor(m_authors->item(row)); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    nameControlsForAccessibility(this);
}

void AuthorPicker::openModal()
{
    exec();
}

void AuthorPicker::toggleShown()
{
    if (isVisible()) {
        hide();
        return;
    }
    setModal(false);
    show();
    raise();
    activateWindow();
}

void AuthorPicker::chooseListedAuthor(QListWidgetItem *item)
{
    Q_EMIT authorChosen(item->text());
    hide();
}

} // namespace ferlin
