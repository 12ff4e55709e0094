#pragma once

#include "core/platform/messagebox.h"

#include <QPointer>
#include <QWidget>

namespace ferlin {

// Message boxes on screen: QMessageBox with French buttons ("OK", "Annuler", "Oui", "Non").
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}

    // The window the boxes are centred on; by default the active window.
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    // The text as the box displays it: a carriage return + line feed becomes one line break.
    static QString displayText(const QString &text);

protected:
    MessageAnswer ask(MessageIcon icon, MessageButtons buttons, const QString &text,
                      const std::optional<QString> &title) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace ferlin
