#pragma once

#include <QDialog>

class QTextBrowser;

namespace ferlin {

// The program's help: French pages bundled in the program, one per screen.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // Shows a page by name ("index" for the main window) and brings the window to the front.
    void showPage(const QString &page);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace ferlin
