#include "gui/config/clickablelabel.h"

#include "gui/shell/screennumber.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace ferlin {

ClickableLabel::ClickableLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() && rect().contains(event->pos()))
        Q_EMIT clicked();
}

QLabel *addConfigurationHeading(QWidget *page, QVBoxLayout *layout, const QString &screenNumber)
{
    auto *heading = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral("CONFIGURATION DU PROGRAMME"), page);
    title->setObjectName(QStringLiteral("Lab_titreconfig"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    title->setFont(big);
    auto *number = new QLabel(screenNumber, page);
    number->setObjectName(QStringLiteral("Label22"));
    greyScreenNumber(number);
    heading->addWidget(title);
    heading->addStretch();
    heading->addWidget(number);
    layout->addLayout(heading);
    return title;
}

} // namespace ferlin
