#include "gui/shell/rowchoice.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QListWidget>

namespace ferlin {

namespace {

class KeyboardChoice : public QObject {
public:
    KeyboardChoice(QAbstractItemView *view, std::function<void(int)> choose)
        : QObject(view), m_view(view), m_choose(std::move(choose))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool choosing = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                              key->key() == Qt::Key_Space;
        const QModelIndex current = m_view->currentIndex();
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!choosing || modifiers != Qt::NoModifier || !current.isValid())
            return false;
        m_choose(current.row());
        return true;
    }

private:
    QAbstractItemView *m_view;
    std::function<void(int)> m_choose;
};

} // namespace

void onRowChosen(QAbstractItemView *view, std::function<void(int row)> choose)
{
    if (auto *list = qobject_cast<QListWidget *>(view))
        QObject::connect(list, &QListWidget::itemClicked, view,
                         [list, choose](QListWidgetItem *item) { choose(list->row(item)); });
    else
        QObject::connect(view, &QAbstractItemView::clicked, view,
                         [choose](const QModelIndex &index) { choose(index.row()); });
    view->installEventFilter(new KeyboardChoice(view, std::move(choose)));
}

} // namespace ferlin
