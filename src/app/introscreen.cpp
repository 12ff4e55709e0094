#include "app/introscreen.h"

#include "gui/shell/screennumber.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const char *const StepLabels[] = {
    "Lab_DB",      "Lab_listeclés", "Lab_ListeAuteurs", "Lab_ListePtvue", "Lab_Listedomaines",
    "Lab_DateMAJ", "Lab_Base",      "Lab_P1",           "Lab_P2",         "Lab_P3",
    "Lab_OKFin"};

} // namespace

IntroScreen::IntroScreen(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Intro"));
    setWindowTitle(QStringLiteral("Ferlin"));

    auto *layout = new QVBoxLayout(this);
    m_frame = new QGroupBox(QStringLiteral("  Ouverture et initialisations "), this);
    m_frame->setObjectName(QStringLiteral("Frame_Intro"));
    m_frame->hide();
    auto *frameLayout = new QVBoxLayout(m_frame);
    for (const char *name : StepLabels) {
        auto *label = new QLabel(m_frame);
        label->setObjectName(QString::fromUtf8(name));
        label->hide();
        frameLayout->addWidget(label);
    }
    frameLayout->addStretch();

    m_version = new QLabel(QStringLiteral("Ferlin version 4.0"), this);
    m_version->setObjectName(QStringLiteral("Label2"));
    m_version->setCursor(Qt::PointingHandCursor);
    m_version->installEventFilter(this);
    QFont big = m_version->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    m_version->setFont(big);
    auto *date = new QLabel(QStringLiteral("15/04/2003"), this);
    date->setObjectName(QStringLiteral("Label3"));
    auto *number = new QLabel(QStringLiteral("F 01"), this);
    number->setObjectName(QStringLiteral("Label22"));
    greyScreenNumber(number);

    layout->addWidget(m_version, 0, Qt::AlignHCenter);
    layout->addWidget(date, 0, Qt::AlignHCenter);
    layout->addSpacing(24);
    layout->addWidget(m_frame, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(number, 0, Qt::AlignRight);
}

QLabel *IntroScreen::stepLabel(const QString &labelName) const
{
    return m_frame->findChild<QLabel *>(labelName);
}

void IntroScreen::showStep(const QString &labelName, const QString &text)
{
    QLabel *label = stepLabel(labelName);
    if (!label)
        return;
    label->setText(text);
    label->show();
    // Only the new line is drawn at once: the lines above it do not move.
    if (isVisible()) {
        m_frame->layout()->activate();
        label->repaint();
    }
}

bool IntroScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_version && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && m_versionAction) {
        m_versionAction();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ferlin
