#pragma once

#include <QAbstractButton>
#include <QButtonGroup>

#include <initializer_list>

namespace ferlin {

// Makes option buttons one exclusive group, numbered from 0 in the order given. Buttons that
// merely share a parent are not enough: Qt treats every auto-exclusive button below that parent
// as one group, and a click on the selected one could then unselect it.
template <typename Buttons> QButtonGroup *exclusiveGroup(QObject *owner, const Buttons &buttons)
{
    auto *group = new QButtonGroup(owner);
    int id = 0;
    for (QAbstractButton *button : buttons)
        group->addButton(button, id++);
    return group;
}

inline QButtonGroup *exclusiveGroup(QObject *owner,
                                    std::initializer_list<QAbstractButton *> buttons)
{
    return exclusiveGroup<std::initializer_list<QAbstractButton *>>(owner, buttons);
}

} // namespace ferlin
