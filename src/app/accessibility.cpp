#include "app/accessibility.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace ferlin {

namespace {

QString captionOf(QWidget *w)
{
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text().isEmpty() ? button->toolTip() : button->text();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *group = qobject_cast<QGroupBox *>(w))
        return group->title();
    return w->toolTip();
}

void nameOne(QWidget *w)
{
    QString caption = captionOf(w);
    caption.remove(u'&');
    if (!caption.trimmed().isEmpty())
        w->setAccessibleName(caption.trimmed());
}

} // namespace

void nameControlsForAccessibility(QWidget *root)
{
    nameOne(root);
    const auto children = root->findChildren<QWidget *>();
    for (QWidget *child : children)
        nameOne(child);
}

} // namespace ferlin
