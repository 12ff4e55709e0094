#include "app/helpwindow.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// The help pages are bundled in the static library: register them before the first use.
static void initHelpResources()
{
    Q_INIT_RESOURCE(ferlin);
}

namespace ferlin {

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent)
{
    initHelpResources();
    setObjectName(QStringLiteral("Aide"));
    setWindowTitle(QStringLiteral("Aide de Ferlin"));
    setModal(false);
    resize(720, 560);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("Texte_aide"));
    m_browser->setAccessibleName(QStringLiteral("Aide de Ferlin"));
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setOpenLinks(true);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Cmd_FermerAide"));
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void HelpWindow::showPage(const QString &page)
{
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + page + QStringLiteral(".html")));
    show();
    raise();
    activateWindow();
}

} // namespace ferlin
