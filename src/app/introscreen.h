#pragma once

#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;

namespace ferlin {

// The progress screen (form Intro): one line per finished start-up step.
class IntroScreen : public QWidget {
    Q_OBJECT
public:
    explicit IntroScreen(QWidget *parent = nullptr);

    // Shows the step's label with its text and repaints at once.
    void showStep(const QString &labelName, const QString &text);
    QLabel *stepLabel(const QString &labelName) const;
    QGroupBox *progressFrame() const { return m_frame; }
    // What a click on "Ferlin version 4.0" does (the about box, once it exists).
    void setVersionAction(std::function<void()> action) { m_versionAction = std::move(action); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *m_frame;
    QLabel *m_version;
    std::function<void()> m_versionAction;
};

} // namespace ferlin
