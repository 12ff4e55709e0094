#include "gui/info/aboutbox.h"

#include "gui/shell/accessibility.h"
#include "gui/shell/screennumber.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace ferlin {

namespace {

const QString Credits = QStringLiteral(
    "Ferlin a été conçu et programmé par Hélène Marchadier et Yves Colombet pour le groupe "
    "documentation de l'ORV, avec le concours des relecteurs du Kavetol.");

QLabel *namedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    return label;
}

} // namespace

AboutBox::AboutBox(const QString &version, const QIcon &programIcon, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Apropos"));
    setWindowTitle(QStringLiteral("A propos de Ferlin"));

    auto *icon = namedLabel("picIcon", QString(), this);
    icon->setPixmap(programIcon.pixmap(64, 64));
    icon->setFixedSize(64, 64);

    auto *title = namedLabel("lblTitle", QStringLiteral("Ferlin 4"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 6);
    title->setFont(big);
    // The design shows "Version xx" until the box loads with the program's version.
    auto *versionLine = namedLabel("lblVersion", QStringLiteral("Version xx"), this);
    versionLine->setText(version);
    auto *credits = namedLabel("Apropos", Credits, this);
    credits->setWordWrap(true);
    credits->setMinimumWidth(320);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *number = namedLabel("Label22", QStringLiteral("F 13"), this);
    greyScreenNumber(number);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(versionLine, 1, 1);
    layout->addWidget(credits, 2, 1);
    layout->addWidget(ok, 3, 1, Qt::AlignRight);
    layout->addWidget(number, 4, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    nameControlsForAccessibility(this);
}

void AboutBox::showModal()
{
    // A box already shown without blocking becomes modal only once shown anew.
    if (isVisible())
        hide();
    exec();
}

void AboutBox::showModeless()
{
    setModal(false);
    show();
    raise();
    activateWindow();
}

} // namespace ferlin
