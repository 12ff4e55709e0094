#include "app/quitdialog.h"

#include "gui/shell/accessibility.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferlin {

QuitDialog::QuitDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Quitter"));
    setModal(false);
    m_question = new QLabel(this);
    m_question->setObjectName(QStringLiteral("Lab_quitter"));
    m_yes = new QPushButton(this);
    m_yes->setObjectName(QStringLiteral("Cmd_oui"));
    m_no = new QPushButton(this);
    m_no->setObjectName(QStringLiteral("Cmd_non"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(m_yes, &QPushButton::clicked, this, &QuitDialog::quitConfirmed);
    connect(m_no, &QPushButton::clicked, this, &QDialog::hide);
}

void QuitDialog::setTexts()
{
    setWindowTitle(QStringLiteral(" Quitter "));
    m_question->setText(QStringLiteral(" Voulez-vous vraiment quitter Ferlin ? "));
    m_yes->setText(QStringLiteral("Oui"));
    m_no->setText(QStringLiteral("Non"));
    nameControlsForAccessibility(this);
}

} // namespace ferlin
