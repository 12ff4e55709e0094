#include "gui/output/referencecopydialog.h"

#include "core/context/appcontext.h"
#include "core/output/basketexport.h"
#include "core/output/referencecopy.h"
#include "gui/output/basketchoice.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/screenhost.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const QString MessageTitle = QStringLiteral("Copie d'un panier");

} // namespace

ReferenceCopyDialog::ReferenceCopyDialog(ScreenHost &window, QWidget *parent)
    : QDialog(parent), m_window(window)
{
    setObjectName(QStringLiteral("CopiePanier"));
    setWindowTitle(QStringLiteral("Copier le panier pour un gestionnaire de références"));
    setModal(true);

    m_baskets = new BasketChoice(
        QStringLiteral("Les trois paniers sont vides : il n'y a rien à copier."), this);
    m_copy = new QPushButton(QStringLiteral("&Copier"), this);
    m_copy->setObjectName(QStringLiteral("Cmd_Copier"));
    m_copy->setDefault(true);
    m_close = new QPushButton(QStringLiteral("Fermer"), this);
    m_close->setObjectName(QStringLiteral("Cmd_Fermer"));
    m_close->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_baskets);
    layout->addLayout(buttons);

    connect(m_copy, &QPushButton::clicked, this, &ReferenceCopyDialog::copyChosen);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    nameControlsForAccessibility(this);
}

void ReferenceCopyDialog::showWithCounts()
{
    m_copy->setEnabled(m_baskets->refresh(m_window.context().state.basketCounts));
    show();
    raise();
    activateWindow();
    if (!m_baskets->focusSelected())
        m_close->setFocus();
}

int ReferenceCopyDialog::selectedBasket() const
{
    return m_baskets->selected();
}

void ReferenceCopyDialog::tell(MessageIcon icon, const QString &text)
{
    m_window.context().platform.messageBox.show(icon, MessageButtons::Ok, text, MessageTitle);
}

bool ReferenceCopyDialog::copyChosen()
{
    AppContext &context = m_window.context();
    const int basket = selectedBasket();
    if (context.state.basketCounts[basket] <= 0 || !context.catalogue.db)
        return false;
    int count = 0;
    try {
        BusyPointerGuard busy(context.platform.busyPointer);
        count =
            CopyBasketAsRis(*context.catalogue.db, basket,
                            exportTextsFolder(context.state.settings), context.platform.clipboard);
    } catch (const ExportError &error) {
        tell(MessageIcon::Critical, error.message());
        return false;
    }
    hide();
    tell(MessageIcon::Information, risCopyDoneMessage(count));
    return true;
}

} // namespace ferlin
