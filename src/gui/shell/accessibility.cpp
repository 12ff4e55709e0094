#include "gui/shell/accessibility.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace ferlin {

namespace {

// A control that shows a caption of its own (a label, a button with text):
// screen readers read the caption as it changes, so no fixed name may stand in front of it.
bool showsCaption(QWidget *w)
{
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return !button->text().trimmed().isEmpty();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->pixmap().isNull();
    return false;
}

void nameOne(QWidget *w)
{
    if (auto *group = qobject_cast<QGroupBox *>(w)) {
        // A frame's title never changes; named after it, a frame inside another is not read
        // with the title of the outer one.
        QString title = group->title();
        title.remove(u'&');
        group->setAccessibleName(title.trimmed());
        return;
    }
    if (showsCaption(w)) {
        w->setAccessibleName(QString());
        return;
    }
    // A picture button or a picture: its tool tip says what it is.
    QString toolTip = w->toolTip();
    toolTip.remove(u'&');
    if (!toolTip.trimmed().isEmpty())
        w->setAccessibleName(toolTip.trimmed());
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
