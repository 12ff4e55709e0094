#include "gui/config/autoconfigframe.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

QLabel *addLabel(QWidget *parent, QVBoxLayout *layout, const char *name, const QString &text,
                 bool visible)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    label->setVisible(visible);
    layout->addWidget(label);
    return label;
}

QPushButton *addButton(QWidget *parent, QVBoxLayout *layout, const char *name,
                       const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromUtf8(name));
    layout->addWidget(button, 0, Qt::AlignLeft);
    return button;
}

} // namespace

AutoConfigFrame::AutoConfigFrame(QWidget *parent)
    : QGroupBox(QStringLiteral(" Configuration automatique "), parent)
{
    setObjectName(QStringLiteral("Frame_InitConfig"));
    auto *layout = new QVBoxLayout(this);
    intro = addLabel(this, layout, "Label1",
                     QStringLiteral("Le premier lancement de Ferlin est en cours. Le programme "
                                    "effectue une recherche pour tenter de se paramétrer "
                                    "automatiquement. "),
                     true);
    viewerHeading = addLabel(
        this, layout, "Label4",
        QStringLiteral("* Recherche du visualiseur de textes PDF, Adobe Acrobat Reader"), true);
    viewerMessage = addLabel(this, layout, "MsgInitPDF",
                             QStringLiteral("Recherche sur unité X:\\. Patienter un moment"), true);
    browserHeading = addLabel(
        this, layout, "Label6",
        QStringLiteral("* Recherche du navigateur WEB, Microsoft Internet Explorer"), false);
    browserMessage = addLabel(this, layout, "MsgInitWEB", QString(), false);
    cdHeading = addLabel(this, layout, "Label7", QStringLiteral("* Lecteur(s) de CD-ROM"), false);
    cdMessage = addLabel(this, layout, "MsgLecteurCD", QString(), false);
    searchAgainText = addLabel(
        this, layout, "Lbl_Recherche",
        QStringLiteral("Si vous venez d'installer Acrobat Reader, reprenez la configuration "
                       "automatique en cliquant sur le bouton ci-dessous."),
        false);
    searchAgain = addButton(this, layout, "Cmd_Recherche",
                            QStringLiteral("Reprise configuration automatique"));
    searchAgain->hide();
    installViewer =
        addButton(this, layout, "Cmd_InstallAcrobat", QStringLiteral("Installer Acrobat Reader"));
    installViewer->setToolTip(QStringLiteral(" Lancer l'installation d'Acrobat Reader 4.0 "));
    installViewer->hide();
    continueText = addLabel(this, layout, "Lbl_continuer", QString(), false);
    continueButton = addButton(this, layout, "Cmd_Init", QStringLiteral("Continuer"));
    continueButton->setEnabled(false);
    layout->addStretch();
    hide();
}

void paintMessage(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->repaint();
}

void showAtOnce(QLabel *label, const QString &text)
{
    label->setText(text);
    label->repaint();
}

} // namespace ferlin
