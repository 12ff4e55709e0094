#include "gui/config/textcopyframe.h"

#include "core/context/linebreak.h"
#include "core/context/settings.h"
#include "core/platform/discretry.h"
#include "core/platform/platform.h"
#include "core/platform/platformerror.h"
#include "core/platform/storedpath.h"
#include "gui/config/folderpicker.h"
#include "gui/config/textlocationhost.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/captioncolours.h"
#include "gui/shell/optiongroup.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace ferlin {

namespace {

const QString ErrorTitle = QStringLiteral("Erreur");
const QString CopiedFolderName = QStringLiteral("TEXTES");
const QString DiscTextsFolder = QStringLiteral("Textes");
const QColor Running(0xFF, 0x00, 0x00);
const QColor Done(0x00, 0xFF, 0x00);

// The operation ends here: the user cancelled, or was told why it cannot go on.

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel *wrappedLabel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    label->setWordWrap(true);
    return label;
}

QString refusedText()
{
    return QStringLiteral("Recopie des fichiers refusée ") + LineBreak +
           QStringLiteral("Il existe déjà un dossier destination de même nom") + LineBreak +
           QStringLiteral("Effacez-le puis recommencez la procédure de recopie des textes");
}

// Where a copy that did not end lies, and what to do with it.
QString incompleteCopyText(const QString &destination)
{
    return QStringLiteral("La copie incomplète des textes se trouve dans le dossier ") +
           destination + QStringLiteral(" : effacez-le avant de recommencer la copie.");
}

QString noDestinationText()
{
    return QStringLiteral("Il n'y a pas de dossier de destination");
}

} // namespace

TextCopyFrame::TextCopyFrame(Settings &settings, Platform &platform, TextLocationHost &host,
                             QString programFolder, QWidget *parent)
    : QGroupBox(parent), m_settings(settings), m_platform(platform), m_host(host),
      m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("Frame_Recopie"));
    setTitle(QStringLiteral(" Copie / déplacement des textes  "));
    build();
    hide();
}

void TextCopyFrame::build()
{
    auto *layout = new QVBoxLayout(this);

    auto *where = new QHBoxLayout;
    m_textsAre = named(new QLabel(this), "Lbl_DossierTxt");
    m_textFolder = named(new QLabel(this), "Lbl_DossierHD");
    where->addWidget(m_textsAre);
    where->addWidget(m_textFolder, 1);
    layout->addLayout(where);

    const char *optionNames[WayCount] = {"Option1_0", "Option1_1", "Option1_2", "Option1_3"};
    const QString captions[WayCount] = {
        QStringLiteral("Copie automatique "), QStringLiteral("Copie manuelle sur disque dur"),
        QStringLiteral("Déplacement des textes"), QStringLiteral("Copie personnalisée")};
    m_automaticText = wrappedLabel(this, "Lbl_CopieAuto");
    m_manualText = wrappedLabel(this, "Lbl_CopieManu");
    m_moveText = wrappedLabel(this, "Lbl_DeplaceTextes");
    m_customText = wrappedLabel(this, "Lbl_CopiePerso");
    QLabel *explanations[WayCount] = {m_automaticText, m_manualText, m_moveText, m_customText};
    for (int way = 0; way < WayCount; ++way) {
        m_ways[way] = named(new QRadioButton(captions[way], this), optionNames[way]);
        connect(m_ways[way], &QRadioButton::clicked, this, [this] { optionClicked(); });
        layout->addWidget(m_ways[way]);
        layout->addWidget(explanations[way]);
    }
    m_ways[AutomaticCopy]->setChecked(true);
    exclusiveGroup(this, m_ways);
    m_ways[Move]->setEnabled(false);

    m_continue = wrappedLabel(this, "Lbl_Continue");
    m_continue->setText(QStringLiteral("Cliquer pour copier les textes"));
    layout->addWidget(m_continue);
    layout->addWidget(buildFolderBox());

    auto *buttons = new QHBoxLayout;
    m_go = named(new QPushButton(QStringLiteral("Copie"), this), "Command1");
    m_go->setToolTip(QStringLiteral(" Cliquer pour valider le dossier et continuer la copie ou le "
                                    "déplacement des textes "));
    m_back = named(new QPushButton(QStringLiteral("Retour"), this), "Command2");
    connect(m_go, &QPushButton::clicked, this, [this] { CopyOrMoveTexts(); });
    connect(m_back, &QPushButton::clicked, this, [this] { back(); });
    buttons->addStretch();
    buttons->addWidget(m_go);
    buttons->addWidget(m_back);
    layout->addLayout(buttons);
    layout->addWidget(buildCopyProgress());
}

QWidget *TextCopyFrame::buildFolderBox()
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_folderHeading =
        named(new QLineEdit(QStringLiteral("Dossier destination"), box), "Text_Destin");
    m_folderHeading->setReadOnly(true);
    m_folderHeading->setFrame(false);
    m_folder = named(new QLineEdit(box), "Text_Dossier");
    connect(m_folder, &QLineEdit::returnPressed, this, [this] { CopyOrMoveTexts(); });
    m_line = named(new QFrame(box), "Line2");
    m_line->setFrameShape(QFrame::HLine);
    m_line->setFrameShadow(QFrame::Sunken);

    m_folderFrame = named(new QFrame(box), "Frame_Dir");
    auto *picker = new QVBoxLayout(m_folderFrame);
    m_driveList =
        named(new DriveList(m_platform.drives, m_platform.messageBox, m_folderFrame), "Drive3");
    m_folderTree = named(new FolderTree(m_folderFrame), "Dir2");
    picker->addWidget(m_driveList);
    picker->addWidget(m_folderTree);
    connect(m_driveList, &DriveList::driveChosen, m_folderTree, &FolderTree::setRootFolder);
    connect(m_folderTree, &FolderTree::folderChosen, this,
            [this](const QString &folder) { folderChosen(folder); });

    layout->addWidget(m_folderHeading);
    layout->addWidget(m_folder);
    layout->addWidget(m_line);
    layout->addWidget(m_folderFrame);
    showFolderBox(false);
    return box;
}

QGroupBox *TextCopyFrame::buildCopyProgress()
{
    m_copyFrame = named(new QGroupBox(QStringLiteral(" Copie des textes sur disque dur "), this),
                        "Frame_CopieCD");
    auto *layout = new QVBoxLayout(m_copyFrame);
    m_disc1 =
        named(new QLabel(QStringLiteral("Copie du CD n° 1 en cours"), m_copyFrame), "Lbl_copieCD1");
    m_disc2 =
        named(new QLabel(QStringLiteral("Copie du CD n° 2 en cours"), m_copyFrame), "Lbl_CopieCD2");
    m_patience = wrappedLabel(m_copyFrame, "Lbl_Patience");
    m_bar = named(new QProgressBar(m_copyFrame), "Bar_Copie");
    m_progress = named(new QLabel(m_copyFrame), "Lbl_CopieProgres");
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_disc1, m_disc2, m_patience, m_bar, m_progress})
        layout->addWidget(w);
    m_disc1->hide();
    m_disc2->hide();
    m_copyFrame->hide();
    return m_copyFrame;
}

void TextCopyFrame::setStartupTexts()
{
    // A label breaks its line where a message would hold carriage return and line feed.
    const QString LabelBreak = QStringLiteral("\n");
    m_automaticText->setText(
        QStringLiteral("Le dossier des textes sera copié dans le dossier où se trouve Ferlin ") +
        LabelBreak + m_programFolder);
    m_customText->setText(
        QStringLiteral("Copie du dossier des textes dans un dossier personnalisé : ") + LabelBreak +
        QStringLiteral("Taper le chemin dans la zone 'Dossier destination' (ou le sélectionner "
                       "dans l'arborescence) et cliquer sur le bouton 'Copie'. (ATTENTION : pas "
                       "d'espace dans le chemin)"));
    m_manualText->setText(
        QStringLiteral("Si le dossier 'Textes' a été copié manuellement sur un disque dur, taper "
                       "le chemin du dossier dans la zone 'Dossier destination' (ou le "
                       "sélectionner dans l'arborescence), puis cliquer sur le bouton 'Valide'."));
    m_moveText->setText(
        QStringLiteral("Déplacement du dossier des textes vers un autre dossier :") + LabelBreak +
        QStringLiteral("Taper ou sélectionner le dossier destination puis cliquer sur 'Déplace'."));
    m_patience->setText(QStringLiteral("Patience...") + LabelBreak +
                        QStringLiteral("La copie des textes dure plusieurs minutes."));
    nameControlsForAccessibility(this);
}

void TextCopyFrame::open()
{
    const bool copied = m_settings.textsCopied == u'O';
    m_textsAre->setText(copied ? QStringLiteral("Les textes sont dans le dossier ")
                               : QStringLiteral("Les textes sont sur les CD-ROM"));
    m_textFolder->setText(m_host.textFolderLabel());
    m_textFolder->setVisible(copied);
    m_ways[Move]->setEnabled(copied);
    show();
}

void TextCopyFrame::optionClicked()
{
    QString next;
    QString caption;
    bool folderShown = true;
    if (m_ways[AutomaticCopy]->isChecked()) {
        folderShown = false;
        next = QStringLiteral("Cliquez pour lancer la copie");
        caption = QStringLiteral("Copie");
    } else if (m_ways[ManualCopy]->isChecked()) {
        next = QStringLiteral("Donnez le chemin du dossier où vous avez copié le dossier "
                              "'Textes', puis cliquez");
        caption = QStringLiteral("Valide");
    } else if (m_ways[Move]->isChecked()) {
        next = QStringLiteral("Donnez le chemin du dossier où vous voulez déplacer l'ensemble des "
                              "textes, puis cliquez");
        caption = QStringLiteral("Déplace");
    } else if (m_ways[CustomCopy]->isChecked()) {
        next = QStringLiteral("Donnez le chemin du dossier où vous voulez que les textes soient "
                              "copiés, puis cliquez");
        caption = QStringLiteral("Copie");
    } else {
        return;
    }
    showFolderBox(folderShown);
    m_continue->setText(next);
    m_go->setText(caption);
    nameControlsForAccessibility(this);
}

void TextCopyFrame::showFolderBox(bool shown)
{
    m_folderHeading->setVisible(shown);
    m_folder->setVisible(shown);
    m_folderFrame->setVisible(shown);
    m_line->setVisible(shown);
    if (!shown || m_treeFilled)
        return;
    // The first time: the drives as they are now, and the tree of the program's drive, which
    // does not count as a choice of the user's.
    m_treeFilled = true;
    m_driveList->refresh();
    const QString drive = m_platform.drives.driveOf(m_programFolder);
    if (drive.isEmpty() || !m_platform.drives.isReady(drive))
        return;
    m_fillingTree = true;
    m_driveList->chooseDrive(drive);
    m_fillingTree = false;
}

void TextCopyFrame::folderChosen(const QString &folder)
{
    if (!m_fillingTree)
        m_folder->setText(WithTrailingSeparator(folder));
}

void TextCopyFrame::back()
{
    hide();
    m_host.showCopyButton();
    m_host.UnlockCommands();
}

void TextCopyFrame::ShowTextFolder()
{
    if (m_settings.textsCopied != u'O')
        return;
    const QString folder = m_folder->text();
    m_host.setTextFolderLabel(folder);
    m_textFolder->setText(folder);
    m_host.chooseHardDisk();
}

QString TextCopyFrame::cdDrive() const
{
    return m_settings.cdDrive.trimmed();
}

MessageAnswer TextCopyFrame::message(const QString &text, MessageIcon icon, MessageButtons buttons,
                                     const std::optional<QString> &title)
{
    return m_platform.messageBox.show(icon, buttons, text, title);
}

template <typename Step> decltype(auto) TextCopyFrame::retrying(Step step)
{
    return RetryWhileNotReady(step, [this](const PlatformError &error) {
        const QString notReady = QStringLiteral("Disque non prêt") + LineBreak +
                                 QStringLiteral("Mettez le CD-ROM demandé dans le lecteur ") +
                                 m_settings.cdDrive + QStringLiteral(" et attendez son démarrage");
        QString text;
        if (error.number() == PlatformErrorCode::DiskNotReady)
            text = notReady;
        else if (error.number() == PlatformErrorCode::PathNotFound)
            text = error.description() + notReady;
        else
            return NotReadyAnswer::NotMine;
        // OK tries again; Cancel gives the user a way out when no disc will do.
        return message(text, MessageIcon::Exclamation, MessageButtons::OkCancel) ==
                       MessageAnswer::Ok
                   ? NotReadyAnswer::TryAgain
                   : NotReadyAnswer::Stop;
    });
}

void TextCopyFrame::CopyOrMoveTexts()
{
    m_host.LockCommands();
    m_copying = false;
    try {
        if (m_ways[AutomaticCopy]->isChecked() || m_ways[CustomCopy]->isChecked())
            copyTexts();
        else if (m_ways[ManualCopy]->isChecked())
            registerManualCopy();
        else if (m_ways[Move]->isChecked())
            moveTexts();
    } catch (const DiscWaitStopped &) {
        endCopyDisplay();
    } catch (const PlatformError &error) {
        showFailure(error);
    }
    m_host.UnlockCommands();
}

QString TextCopyFrame::discTextsFolder(const QString &drive)
{
    const QString root = retrying([&] { return m_platform.drives.rootPath(drive); });
    return resolveStoredPath(root, DiscTextsFolder);
}

void TextCopyFrame::copyTexts()
{
    Drives &drives = m_platform.drives;
    QString textFolder;
    QString targetDrive;
    if (m_ways[AutomaticCopy]->isChecked()) {
        textFolder = m_programFolder;
        targetDrive = drives.driveOf(m_programFolder);
    } else {
        const QString typed = m_folder->text();
        if (typed.isEmpty()) {
            message(QStringLiteral(" Le dossier destination n'est pas donné "),
                    MessageIcon::Critical, MessageButtons::Ok, QStringLiteral(" Erreur"));
            return;
        }
        targetDrive = drives.driveOf(typed);
        if (drives.driveType(targetDrive) != DriveType::FixedDisk) {
            message(QStringLiteral("L'unité ") + targetDrive +
                        QStringLiteral(" n'est pas un disque dur"),
                    MessageIcon::Critical, MessageButtons::Ok, ErrorTitle);
            return;
        }
        textFolder = typed.trimmed();
    }
    const QString destination = WithTrailingSeparator(textFolder) + CopiedFolderName;

    const qint64 freeBytes = retrying([&] { return drives.freeBytes(targetDrive); });
    if (!hasRoomForTexts(freeBytes)) {
        // An earlier copy stopped on a full disk may be what fills it: the user must know where.
        const QString incomplete = m_platform.files.folderExists(destination)
                                       ? LineBreak + incompleteCopyText(destination)
                                       : QString();
        message(QStringLiteral("Espace libre ") + megabytesText(megabytesOf(freeBytes)) +
                    QStringLiteral(" Mo insuffisant pour la copie") + LineBreak +
                    QStringLiteral("Il faut 1200 Mo minimum") + incomplete,
                MessageIcon::Critical, MessageButtons::Ok, ErrorTitle);
        return;
    }
    if (m_platform.files.folderExists(destination)) {
        message(refusedText(), MessageIcon::Critical);
        return;
    }
    if (message(QStringLiteral("Une fois lancée, la procédure de copie des textes ne peut être "
                               "interrompue.") +
                    LineBreak + QStringLiteral("Continuer ?"),
                MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return; // the text folder stays the one before
    const QString previousFolder = m_settings.hardDiskFolder;
    const QString previousLabel = m_host.textFolderLabel();
    m_host.setTextFolderLabel(textFolder);
    m_settings.hardDiskFolder = textFolder;
    try {
        if (!m_platform.files.folderExists(textFolder)) {
            message(QStringLiteral("Le dossier destination n'existe pas") + LineBreak +
                        QStringLiteral("Il va être créé"),
                    MessageIcon::Information);
            retrying([&] { m_platform.files.createFolder(textFolder); });
        }
        copyBothDiscs(destination);
    } catch (const DiscWaitStopped &) {
        // The user stopped: nothing of the unfinished copy stays, the text folder is the one
        // before.
        m_settings.hardDiskFolder = previousFolder;
        m_host.setTextFolderLabel(previousLabel);
        removeUnfinishedCopy(destination);
        throw;
    }
    m_copyFrame->hide();

    message(QStringLiteral("Recopie des textes terminée") + LineBreak +
                QStringLiteral("Vous pouvez dorénavant choisir à tout moment de lire les textes "
                               "sur le disque dur ou sur les CD-ROM"),
            MessageIcon::None);
    m_settings.textsCopied = u'O';
    // Saved before the page reads the texts on the hard disk: the location stored is the one
    // chosen before the copy.
    m_host.saveConfiguration();
    hide();
    m_host.chooseHardDisk();
}

void TextCopyFrame::copyBothDiscs(const QString &destination)
{
    const QString drive1 = driveOfDisc(
        1, QStringLiteral("Insérer le CD-ROM n° 1 dans le lecteur ") + m_settings.cdDrive,
        MessageIcon::Exclamation,
        QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
            QStringLiteral("Mettre le CD n° 1 dans le lecteur ") + m_settings.cdDrive +
            QStringLiteral(" et attendez le démarrage du lecteur."));
    m_disc2->hide();
    showDiscCopy(m_disc1, QStringLiteral("Copie du CD n° 1 en cours"), false);
    m_copyFrame->show();
    m_copyFrame->repaint();
    copyDisc(drive1, destination);
    showDiscCopy(m_disc1, QStringLiteral("Copie du CD n° 1 réussie"), true);

    const QString drive2 =
        driveOfDisc(2, QStringLiteral("Insérer le CD-ROM n° 2 dans le lecteur"), MessageIcon::None,
                    QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
                        QStringLiteral("Mettre le CD n° 2 dans le lecteur ") + m_settings.cdDrive);
    showDiscCopy(m_disc2, QStringLiteral("Copie du CD n° 2 en cours"), false);
    m_disc1->repaint();
    copyDisc(drive2, destination);
    showDiscCopy(m_disc2, QStringLiteral("Copie du CD n° 2 réussie"), true);
}

QString TextCopyFrame::driveOfDisc(int disc, const QString &insertText, MessageIcon insertIcon,
                                   const QString &wrongDiscText)
{
    const QString drive = cdDrive();
    const QString wanted = QStringLiteral("FERLIN4_") + QString::number(disc);
    if (!m_platform.drives.holdsOneDisc(drive)) {
        message(insertText, insertIcon);
        while (retrying([&] { return m_platform.drives.volumeLabel(drive); }) != wanted)
            message(wrongDiscText, MessageIcon::Exclamation);
        return drive;
    }
    // No disc can be put into a folder or an image: the disc is read where it lies, and when it
    // lies nowhere the user may put it there or stop.
    for (;;) {
        const QString found = m_platform.drives.driveHoldingDisc(drive, wanted);
        if (!found.isEmpty())
            return found;
        if (message(QStringLiteral("Le CD n° %1 est introuvable.").arg(disc) + LineBreak +
                        QStringLiteral("Le lecteur %1 ne contient qu'un disque, et aucun disque "
                                       "%2 ne se trouve à côté de lui.")
                            .arg(m_settings.cdDrive, wanted) +
                        LineBreak +
                        QStringLiteral("Placez le dossier %1 à côté de ce lecteur puis cliquez sur "
                                       "OK, ou cliquez sur Annuler pour arrêter la copie.")
                            .arg(wanted),
                    MessageIcon::Exclamation, MessageButtons::OkCancel) != MessageAnswer::Ok)
            throw DiscWaitStopped{};
    }
}

void TextCopyFrame::removeUnfinishedCopy(const QString &destination)
{
    endCopyDisplay();
    if (!m_platform.files.folderExists(destination))
        return;
    const QString stopped = QStringLiteral("Copie des textes arrêtée.") + LineBreak;
    try {
        BusyPointerGuard busy(m_platform.busyPointer);
        m_platform.files.removeTree(destination);
    } catch (const PlatformError &error) {
        message(stopped + error.description() + LineBreak + incompleteCopyText(destination),
                MessageIcon::Exclamation);
        return;
    }
    message(stopped + QStringLiteral("Le dossier ") + destination +
                QStringLiteral(", qu'elle avait commencé à remplir, a été effacé."),
            MessageIcon::Information);
}

void TextCopyFrame::copyDisc(const QString &drive, const QString &destination)
{
    m_copying = true;
    m_destination = destination;
    retrying([&] {
        const QString source = discTextsFolder(drive);
        m_tally.start();
        m_bar->setRange(0, 1);
        m_bar->setValue(0);
        m_progress->clear();
        BusyPointerGuard busy(m_platform.busyPointer);
        m_platform.files.copyTree(source, destination,
                                  [this](const CopyProgress &progress) { progressed(progress); });
    });
    m_copying = false;
}

void TextCopyFrame::progressed(const CopyProgress &progress)
{
    m_tally.add(progress);
    m_bar->setRange(0, std::max(1, progress.filesTotal));
    m_bar->setValue(std::min(progress.filesDone, m_bar->maximum()));
    m_progress->setText(m_tally.text());
    m_bar->repaint();
    m_progress->repaint();
}

void TextCopyFrame::showDiscCopy(QLabel *label, const QString &text, bool done)
{
    label->setText(text);
    paintCaption(label, done ? Done : Running);
    label->show();
    label->repaint();
}

void TextCopyFrame::registerManualCopy()
{
    const QString typed = m_folder->text();
    if (typed.isEmpty()) {
        message(noDestinationText(), MessageIcon::Critical);
        return;
    }
    if (!m_platform.files.folderExists(typed)) {
        message(QStringLiteral("Le dossier ") + typed + QStringLiteral(" n'existe pas") +
                    LineBreak +
                    QStringLiteral("Créez-le et copiez-y le contenu des dossiers Textes des "
                                   "CD-ROM"),
                MessageIcon::Critical);
        return;
    }
    m_settings.hardDiskFolder = typed;
    m_settings.textsCopied = u'O';
    m_host.saveConfiguration();
    ShowTextFolder();
    message(QStringLiteral("Les textes sont maintenant accessibles dans le dossier ") + typed,
            MessageIcon::Information);
    hide();
}

void TextCopyFrame::moveTexts()
{
    const QString typed = m_folder->text();
    if (typed.isEmpty()) {
        message(noDestinationText(), MessageIcon::Critical);
        return;
    }
    const QString source = WithTrailingSeparator(m_settings.hardDiskFolder);
    const QString textFolder = typed.trimmed();
    const QString destination = WithTrailingSeparator(textFolder);
    const QString impossible = LineBreak + QStringLiteral("Déplacement impossible");
    if (sameFolder(source, destination)) {
        message(QStringLiteral("Source et destination identiques") + impossible,
                MessageIcon::Critical);
        return;
    }
    // The copied folder as it is named on the disk ("TEXTES", or "Textes" copied by hand).
    const QString sourceTexts = resolveStoredPath(source, CopiedFolderName);
    if (isSameOrInside(destination, sourceTexts)) {
        message(QStringLiteral("Le dossier destination est à l'intérieur du dossier des textes") +
                    impossible,
                MessageIcon::Critical);
        return;
    }
    if (message(QStringLiteral("Dossier source = ") + m_host.textFolderLabel() + LineBreak +
                    QStringLiteral("Dossier destination = ") + destination + LineBreak +
                    QStringLiteral("Exécuter le déplacement ?"),
                MessageIcon::Exclamation, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return; // the text folder stays the one before
    m_settings.hardDiskFolder = textFolder;
    if (!m_platform.files.folderExists(destination)) {
        message(QStringLiteral("Le dossier ") + destination + QStringLiteral(" n'existe pas") +
                    LineBreak + QStringLiteral("Il va être créé"),
                MessageIcon::Information);
        retrying([&] { m_platform.files.createFolder(destination); });
    }
    retrying([&] {
        BusyPointerGuard busy(m_platform.busyPointer);
        m_platform.files.moveTree(sourceTexts, destination + CopiedFolderName, {});
    });
    ShowTextFolder();
    message(QStringLiteral(" Déplacement des textes réussi "), MessageIcon::Information);
    hide();
}

void TextCopyFrame::endCopyDisplay()
{
    if (m_platform.busyPointer.isBusy())
        m_platform.busyPointer.restore();
    m_copyFrame->hide();
}

void TextCopyFrame::showFailure(const PlatformError &error)
{
    endCopyDisplay();
    QString missing;
    if (m_copying) {
        if (const std::optional<int> files = m_tally.filesMissing())
            missing = LineBreak + QStringLiteral("La copie est incomplète : ") +
                      QString::number(*files) +
                      QStringLiteral(" fichier(s) n'ont pas été copiés.") + LineBreak +
                      incompleteCopyText(m_destination);
    }
    switch (error.number()) {
    case PlatformErrorCode::BadPath:
        message(QStringLiteral("Unité ou chemin de dossier invalide") + missing,
                MessageIcon::Critical, MessageButtons::Ok, ErrorTitle);
        break;
    case PlatformErrorCode::NoSuchDrive:
        message(QStringLiteral("L'unité choisie n'existe pas") + missing, MessageIcon::Critical,
                MessageButtons::Ok, ErrorTitle);
        break;
    case PlatformErrorCode::DestinationExists:
        message(refusedText() + missing, MessageIcon::Critical);
        break;
    default:
        message(QStringLiteral("Erreur ") + QString::number(error.number()) + LineBreak +
                    error.description() + missing,
                MessageIcon::None, MessageButtons::Ok, ErrorTitle);
        break;
    }
}

} // namespace ferlin
