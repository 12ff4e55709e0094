#pragma once

#include <QDialog>
#include <QIcon>

class QLabel;

namespace ferlin {

// The about box (form Apropos): the program's name, version, authors and icon. Built once with
// the program's version string and icon, then hidden by "OK" and shown again as it is: modally from
// the association screen's picture, without blocking from the progress screen's version line.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString &version, const QIcon &icon, QWidget *parent = nullptr);

    // Shows the box and waits until "OK" hides it.
    void showModal();
    // Shows the box and returns at once.
    void showModeless();
};

} // namespace ferlin
