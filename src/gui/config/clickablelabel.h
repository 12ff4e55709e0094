#pragma once

#include <QLabel>

class QVBoxLayout;

namespace ferlin {

// A label the user clicks like a link (a hand cursor over it), such as the page numbers of the
// configuration pages.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The heading of a configuration page: its title (Lab_titreconfig) and its grey screen number
// (Label22). Gives the title.
QLabel *addConfigurationHeading(QWidget *page, QVBoxLayout *layout, const QString &screenNumber);

} // namespace ferlin
