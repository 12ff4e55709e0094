// The copy, registration and move of the article texts onto a hard disk (Frame_Recopie).
#include "core/config/textcopy.h"
#include "core/context/settings.h"
#include "core/platform/platformerror.h"
#include "fakes/fakeplatform.h"
#include "gui/config/folderpicker.h"
#include "gui/config/textcopyframe.h"
#include "gui/config/textlocationhost.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace ferlin;

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString Cd = QStringLiteral("/dev/sr0");
const QString Home = QStringLiteral("/home/");
constexpr qint64 MB = 1024 * 1024;

const QString Continue = QStringLiteral("Une fois lancée, la procédure de copie des textes ne peut "
                                        "être interrompue.") +
                         LineBreak + QStringLiteral("Continuer ?");
const QString InsertDisc1 = QStringLiteral("Insérer le CD-ROM n° 1 dans le lecteur /dev/sr0");
const QString InsertDisc2 = QStringLiteral("Insérer le CD-ROM n° 2 dans le lecteur");
const QString NotReady = QStringLiteral("Disque non prêt") + LineBreak +
                         QStringLiteral("Mettez le CD-ROM demandé dans le lecteur /dev/sr0 et "
                                        "attendez son démarrage");
const QString CopyDone = QStringLiteral("Recopie des textes terminée") + LineBreak +
                         QStringLiteral("Vous pouvez dorénavant choisir à tout moment de lire les "
                                        "textes sur le disque dur ou sur les CD-ROM");
const QString Refused = QStringLiteral("Recopie des fichiers refusée ") + LineBreak +
                        QStringLiteral("Il existe déjà un dossier destination de même nom") +
                        LineBreak +
                        QStringLiteral("Effacez-le puis recommencez la procédure de recopie des "
                                       "textes");

// The page around the frame, as far as the frame changes it.
class RecordingHost : public TextLocationHost {
public:
    explicit RecordingHost(const Settings &settings) : m_settings(settings) {}

    void LockCommands() override { calls << QStringLiteral("lock"); }
    void UnlockCommands() override { calls << QStringLiteral("unlock"); }
    QString textFolderLabel() const override { return label; }
    void setTextFolderLabel(const QString &text) override
    {
        label = text;
        calls << QStringLiteral("label ") + text;
    }
    void chooseHardDisk() override { calls << QStringLiteral("hardDisk"); }
    void showCopyButton() override { calls << QStringLiteral("copyButton"); }
    // Records what is saved: the text folder and whether the texts count as copied.
    void saveConfiguration() override
    {
        calls << QStringLiteral("save ") + m_settings.hardDiskFolder + u' ' +
                     m_settings.textsCopied;
    }

    QStringList calls;
    QString label;

private:
    const Settings &m_settings;
};

// A file system that copies one file of three, reports it, then finds the disk full.
class FillingFileSystem : public FakeFileSystem {
public:
    void copyTree(const QString &source, const QString &,
                  const CopyProgressCallback &progress) override
    {
        progress({1, 3, source + QStringLiteral("/1998/a.pdf")});
        throw PlatformError(PlatformErrorCode::DiskFull);
    }
};

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// A hard disk "/home/" (2000 MB free) holding the program's folder, a USB stick and a CD-ROM
// drive; two disc folders, the first naming its texts folder "Textes", the second "TEXTES".
struct TextCopy : public ::testing::Test {
    FakePlatform fakes;
    QTemporaryDir dir;
    Settings settings;
    RecordingHost host{settings};
    const QString home = dir.filePath(QStringLiteral("home")) + u'/';
    const QString programFolder = home + QStringLiteral("ferlin");
    std::unique_ptr<TextCopyFrame> frame;

    TextCopy()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        write(QStringLiteral("disc1/Textes/1998/a.pdf"), "a");
        write(QStringLiteral("disc1/Textes/1998/commun.pdf"), "disque 1");
        write(QStringLiteral("disc2/TEXTES/2001/b.pdf"), "b");
        write(QStringLiteral("disc2/TEXTES/1998/commun.pdf"), "disque 2");
        QDir().mkpath(programFolder);
        fakes.drives.addDrive(Home, {DriveType::FixedDisk, {}, home, 2000 * MB, true});
        fakes.drives.addDrive(
            QStringLiteral("/media/usb/"),
            {DriveType::Removable, {}, dir.filePath(QStringLiteral("usb/")), 4000 * MB, true});
        fakes.drives.addDrive(Cd, {DriveType::CdRom, {}, {}, 0, true});
        insertDisc(1);
        settings.cdDrive = Cd;
        settings.hardDiskFolder = QStringLiteral("/avant");
        host.label = settings.hardDiskFolder;
        makeFrame(fakes.platform());
    }
    ~TextCopy() override { QLocale::setDefault(QLocale::system()); }

    void makeFrame(Platform &platform)
    {
        frame = std::make_unique<TextCopyFrame>(settings, platform, host, programFolder);
        frame->setStartupTexts();
    }
    void write(const QString &relative, const char *content)
    {
        const QString path = dir.filePath(relative);
        QDir().mkpath(path.section(u'/', 0, -2));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void insertDisc(int disc)
    {
        fakes.drives.drive(Cd).root = dir.filePath(QStringLiteral("disc%1/").arg(disc));
        fakes.drives.setLabel(Cd, QStringLiteral("FERLIN4_%1").arg(disc));
    }
    // A reply that puts another disc in the drive, then says OK.
    FakeMessageBox::Responder inserting(int disc)
    {
        return [this, disc](const RecordedMessage &) {
            insertDisc(disc);
            return MessageAnswer::Ok;
        };
    }
    // Answers "Continuer ?", then the messages of a whole copy.
    void answerACopy()
    {
        fakes.messageBox.pushAnswer(MessageAnswer::Yes);
        fakes.messageBox.pushAnswer(MessageAnswer::Ok);
        fakes.messageBox.pushResponder(inserting(2));
    }

    template <typename T> T *child(const char *name) const
    {
        T *w = frame->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void choose(TextCopyFrame::Way way)
    {
        const char *names[] = {"Option1_0", "Option1_1", "Option1_2", "Option1_3"};
        child<QRadioButton>(names[way])->click();
    }
    void typeFolder(const QString &text) { child<QLineEdit>("Text_Dossier")->setText(text); }
    bool shown(const char *name) const { return child<QWidget>(name)->isVisibleTo(frame.get()); }
    QStringList texts() const
    {
        QStringList out;
        for (const RecordedMessage &m : fakes.messageBox.messages())
            out << m.text;
        return out;
    }
};

TEST(TextCopyHelpers, PathsSpaceAndTally)
{
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WithTrailingSeparator(QString()), QStringLiteral("/"));
    EXPECT_TRUE(hasRoomForTexts(1200 * MB));
    EXPECT_FALSE(hasRoomForTexts(1200 * MB - 1));

    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const std::pair<double, const char *> numbers[] = {
        {1199.96, "1200"}, {523.25, "523,2"}, {523.35, "523,4"}, {0.05, "0"}, {12.251, "12,3"}};
    for (const auto &[megabytes, text] : numbers)
        EXPECT_EQ(megabytesText(megabytes), QString::fromUtf8(text)) << megabytes;

    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a"));
    QDir().mkpath(a + QStringLiteral("/b"));
    QFile::link(a, dir.filePath(QStringLiteral("link")));
    EXPECT_TRUE(sameFolder(a + QStringLiteral("/./b/"), a + QStringLiteral("/b")));
    EXPECT_TRUE(sameFolder(a + QStringLiteral("/new/"), dir.filePath(QStringLiteral("link/new"))));
    EXPECT_FALSE(sameFolder(a, a + QStringLiteral("/b")));
    EXPECT_TRUE(isSameOrInside(dir.filePath(QStringLiteral("link/b/c")), a + u'/'));
    EXPECT_FALSE(isSameOrInside(a + QStringLiteral("bc"), a));

    QFile file(a + QStringLiteral("/f.pdf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(3 * MB / 2, 'x'));
    file.close();
    CopyTally tally;
    EXPECT_EQ(tally.filesMissing(), std::nullopt) << "nothing known before the first report";
    tally.add({1, 3, file.fileName()});
    tally.add({2, 3, file.fileName()});
    EXPECT_EQ(tally.text(), QStringLiteral("2 fichiers sur 3 — 3,0 Mo"));
    EXPECT_EQ(tally.filesMissing(), 1);
    tally.add({3, 3, QString()});
    EXPECT_EQ(tally.filesMissing(), std::nullopt);
    QLocale::setDefault(QLocale::system());
}

TEST_F(TextCopy, OpeningShowsWhereTheTextsAreAndTheOptionsSetTheCaptions)
{
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(child<QLabel>("Lbl_CopieAuto")->text(),
              QStringLiteral("Le dossier des textes sera copié dans le dossier où se trouve "
                             "Ferlin \n") +
                  programFolder);
    frame->open();
    EXPECT_FALSE(frame->isHidden());
    EXPECT_EQ(child<QLabel>("Lbl_DossierTxt")->text(),
              QStringLiteral("Les textes sont sur les CD-ROM"));
    EXPECT_FALSE(shown("Lbl_DossierHD"));
    EXPECT_FALSE(child<QRadioButton>("Option1_2")->isEnabled());
    EXPECT_TRUE(host.calls.isEmpty()) << "opening locks nothing";

    settings.textsCopied = u'O';
    frame->open();
    EXPECT_EQ(child<QLabel>("Lbl_DossierHD")->text(), QStringLiteral("/avant"));
    EXPECT_TRUE(shown("Lbl_DossierHD"));
    EXPECT_TRUE(child<QRadioButton>("Option1_2")->isEnabled());

    const std::tuple<TextCopyFrame::Way, QString, const char *> options[] = {
        {TextCopyFrame::ManualCopy,
         QStringLiteral("Donnez le chemin du dossier où vous avez copié le dossier 'Textes', puis "
                        "cliquez"),
         "Valide"},
        {TextCopyFrame::Move,
         QStringLiteral("Donnez le chemin du dossier où vous voulez déplacer l'ensemble des "
                        "textes, puis cliquez"),
         "Déplace"},
        {TextCopyFrame::CustomCopy,
         QStringLiteral("Donnez le chemin du dossier où vous voulez que les textes soient "
                        "copiés, puis cliquez"),
         "Copie"},
        {TextCopyFrame::AutomaticCopy, QStringLiteral("Cliquez pour lancer la copie"), "Copie"},
    };
    for (const auto &[way, next, caption] : options) {
        choose(way);
        EXPECT_EQ(child<QLabel>("Lbl_Continue")->text(), next);
        EXPECT_EQ(child<QPushButton>("Command1")->text(), QString::fromUtf8(caption));
        for (const char *name : {"Text_Destin", "Text_Dossier", "Frame_Dir", "Line2"})
            EXPECT_EQ(shown(name), way != TextCopyFrame::AutomaticCopy) << name;
    }
    EXPECT_TRUE(child<QLineEdit>("Text_Dossier")->text().isEmpty())
        << "showing the folder tree chose no folder";

    child<QPushButton>("Command2")->click();
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("copyButton"), QStringLiteral("unlock")}));
}

TEST_F(TextCopy, RefusalsComeBeforeTheQuestionAndNoChangesNothing)
{
    fakes.drives.setFreeBytes(Home, std::llround(1199.96 * MB));
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("Erreur"),
                               QStringLiteral("Espace libre 1200 Mo insuffisant pour la copie") +
                                   LineBreak + QStringLiteral("Il faut 1200 Mo minimum")}));

    fakes.drives.setFreeBytes(Home, 1200 * MB); // exactly enough
    fakes.messageBox.pushAnswer(MessageAnswer::No);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Question, MessageButtons::YesNo, {}, Continue}));

    QDir().mkpath(programFolder + QStringLiteral("/TEXTES"));
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, {}, Refused}));
    EXPECT_EQ(fakes.messageBox.messages().size(), 3);

    EXPECT_EQ(settings.hardDiskFolder, QStringLiteral("/avant"));
    EXPECT_EQ(settings.textsCopied, u'N');
    EXPECT_TRUE(fakes.files.calls().isEmpty());
    EXPECT_EQ(host.calls.join(u' '), QStringLiteral("lock unlock lock unlock lock unlock"));
}

TEST_F(TextCopy, AutomaticCopyMergesBothDiscsIntoTheProgramFolder)
{
    answerACopy();
    frame->CopyOrMoveTexts();
    EXPECT_EQ(texts(), (QStringList{Continue, InsertDisc1, InsertDisc2, CopyDone}));
    EXPECT_EQ(fakes.messageBox.messages()[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(fakes.messageBox.messages()[2].icon, MessageIcon::None);

    const QString copy = programFolder + QStringLiteral("/TEXTES/");
    EXPECT_EQ(filesBelow(copy),
              (QStringList{QStringLiteral("1998/a.pdf"), QStringLiteral("1998/commun.pdf"),
                           QStringLiteral("2001/b.pdf")}));
    QFile common(copy + QStringLiteral("1998/commun.pdf"));
    ASSERT_TRUE(common.open(QIODevice::ReadOnly));
    EXPECT_EQ(common.readAll(), "disque 2");

    EXPECT_EQ(settings.hardDiskFolder, programFolder);
    EXPECT_EQ(settings.textsCopied, u'O');
    EXPECT_EQ(host.calls,
              (QStringList{QStringLiteral("lock"), QStringLiteral("label ") + programFolder,
                           QStringLiteral("save ") + programFolder + QStringLiteral(" O"),
                           QStringLiteral("hardDisk"), QStringLiteral("unlock")}));
    EXPECT_TRUE(frame->isHidden());
    EXPECT_FALSE(shown("Frame_CopieCD"));
    EXPECT_EQ(child<QLabel>("Lbl_copieCD1")->text(), QStringLiteral("Copie du CD n° 1 réussie"));
    EXPECT_EQ(child<QLabel>("Lbl_CopieCD2")->text(), QStringLiteral("Copie du CD n° 2 réussie"));
    for (const char *name : {"Lbl_copieCD1", "Lbl_CopieCD2"})
        EXPECT_EQ(child<QLabel>(name)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_TRUE(child<QLabel>("Lbl_CopieProgres")
                    ->text()
                    .startsWith(QStringLiteral("2 fichiers sur 2 — ")));
    EXPECT_EQ(fakes.busyPointer.history(), (QList<bool>{true, false, true, false}));
}

TEST_F(TextCopy, TheDiscIsAskedForUntilItIsReadyAndTheRightOne)
{
    fakes.drives.setReady(Cd, false);
    fakes.drives.setLabel(Cd, QStringLiteral("AUTRE"));
    // The disc is read only once asked for: after the question and the request to insert it.
    fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushResponder([&](const RecordedMessage &) {
        fakes.drives.setReady(Cd, true);
        return MessageAnswer::Ok;
    });
    fakes.messageBox.pushAnswer(MessageAnswer::Ok); // still the wrong disc
    fakes.messageBox.pushResponder(inserting(1));
    fakes.messageBox.pushAnswer(MessageAnswer::Ok); // a folder missing on the disc: again
    fakes.messageBox.pushResponder(inserting(1));   // disc 2 asked for, disc 1 left in
    fakes.messageBox.pushResponder(inserting(2));
    fakes.files.failNext(FileOperation::CopyTree, PlatformError(PlatformErrorCode::PathNotFound));
    frame->CopyOrMoveTexts();

    const QString wrong1 = QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
                           QStringLiteral("Mettre le CD n° 1 dans le lecteur /dev/sr0 et "
                                          "attendez le démarrage du lecteur.");
    const QString wrong2 = QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
                           QStringLiteral("Mettre le CD n° 2 dans le lecteur /dev/sr0");
    EXPECT_EQ(texts(), (QStringList{Continue, InsertDisc1, NotReady, wrong1, wrong1,
                                    QStringLiteral("Chemin d'accès introuvable") + NotReady,
                                    InsertDisc2, wrong2, CopyDone}));
    EXPECT_EQ(fakes.messageBox.messages()[2],
              (RecordedMessage{MessageIcon::Exclamation, MessageButtons::OkCancel, {}, NotReady}));
    EXPECT_EQ(fakes.messageBox.messages()[3].icon, MessageIcon::Exclamation);
    EXPECT_EQ(settings.textsCopied, u'O');

    // Cancel is the way out when no disc comes.
    QDir(programFolder + QStringLiteral("/TEXTES")).removeRecursively();
    fakes.messageBox.clear();
    host.calls.clear();
    fakes.drives.setReady(Cd, false);
    fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(texts(), (QStringList{Continue, InsertDisc1, NotReady}));
    // The folder shown at once, the one before (the first copy's) shown again once stopped.
    const QString label = QStringLiteral("label ") + programFolder;
    EXPECT_EQ(host.calls,
              (QStringList{QStringLiteral("lock"), label, label, QStringLiteral("unlock")}));
}

// A folder (or a disc image) stands for the drive: no disc can be put into it.
struct OneDiscCopy : public TextCopy {
    const QString folder1 = QStringLiteral("/media/FERLIN4_1/");
    const QString folder2 = QStringLiteral("/media/FERLIN4_2/");
    const QString destination = programFolder + QStringLiteral("/TEXTES");

    OneDiscCopy()
    {
        addDiscFolder(folder1, 1);
        settings.cdDrive = folder1;
    }
    void addDiscFolder(const QString &name, int disc)
    {
        FakeDrives::Drive drive{DriveType::CdRom, QStringLiteral("FERLIN4_%1").arg(disc),
                                dir.filePath(QStringLiteral("disc%1/").arg(disc)), 0, true};
        drive.oneDisc = true;
        fakes.drives.addDrive(name, drive);
    }
    static QString notFound()
    {
        return QStringLiteral("Le CD n° 2 est introuvable.") + LineBreak +
               QStringLiteral("Le lecteur /media/FERLIN4_1/ ne contient qu'un disque, et aucun "
                              "disque FERLIN4_2 ne se trouve à côté de lui.") +
               LineBreak +
               QStringLiteral("Placez le dossier FERLIN4_2 à côté de ce lecteur puis cliquez sur "
                              "OK, ou cliquez sur Annuler pour arrêter la copie.");
    }
};

TEST_F(OneDiscCopy, TheOtherDiscIsReadBesideTheFolderWithoutAsking)
{
    addDiscFolder(folder2, 2);
    fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(texts(), (QStringList{Continue, CopyDone}));
    EXPECT_EQ(filesBelow(destination),
              (QStringList{QStringLiteral("1998/a.pdf"), QStringLiteral("1998/commun.pdf"),
                           QStringLiteral("2001/b.pdf")}));
    EXPECT_EQ(settings.textsCopied, u'O');
}

TEST_F(OneDiscCopy, WithNoOtherDiscBesideCancelRemovesTheUnfinishedCopy)
{
    fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok); // still nowhere: asked again
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    frame->CopyOrMoveTexts();
    const QString stopped = QStringLiteral("Copie des textes arrêtée.") + LineBreak +
                            QStringLiteral("Le dossier ") + destination +
                            QStringLiteral(", qu'elle avait commencé à remplir, a été effacé.");
    EXPECT_EQ(texts(), (QStringList{Continue, notFound(), notFound(), stopped}));
    EXPECT_EQ(fakes.messageBox.messages()[1].buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(QFileInfo::exists(destination));
    EXPECT_EQ(settings.hardDiskFolder, QStringLiteral("/avant"));
    EXPECT_EQ(host.label, QStringLiteral("/avant"));
    EXPECT_EQ(settings.textsCopied, u'N');
    EXPECT_FALSE(shown("Frame_CopieCD"));
    EXPECT_FALSE(fakes.busyPointer.isBusy());
    EXPECT_EQ(host.calls.last(), QStringLiteral("unlock"));

    // Nothing left in the way: placed beside, the disc is copied at the next attempt.
    addDiscFolder(folder2, 2);
    fakes.messageBox.clear();
    fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(texts(), (QStringList{Continue, CopyDone}));
}

TEST_F(TextCopy, CustomCopyWantsAFolderOnAHardDisk)
{
    choose(TextCopyFrame::CustomCopy);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, QStringLiteral(" Erreur"),
                               QStringLiteral(" Le dossier destination n'est pas donné ")}));
    typeFolder(dir.filePath(QStringLiteral("usb/textes")));
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("Erreur"),
                               QStringLiteral("L'unité /media/usb/ n'est pas un disque dur")}));

    // A folder typed with a blank after it, missing: it is created, and kept without the blank.
    fakes.messageBox.clear();
    typeFolder(home + QStringLiteral("nouveau "));
    fakes.messageBox.pushAnswer(MessageAnswer::Yes);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushResponder(inserting(2));
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.messages()[1],
              (RecordedMessage{MessageIcon::Information,
                               MessageButtons::Ok,
                               {},
                               QStringLiteral("Le dossier destination n'existe pas") + LineBreak +
                                   QStringLiteral("Il va être créé")}));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("nouveau/TEXTES/1998/a.pdf")));
    EXPECT_EQ(settings.hardDiskFolder, home + QStringLiteral("nouveau"));
}

TEST_F(TextCopy, CustomCopyIntoAPickedFolder)
{
    QDir().mkpath(home + QStringLiteral("docs"));
    frame->open();
    choose(TextCopyFrame::CustomCopy);
    auto *tree = child<FolderTree>("Dir2");
    ASSERT_EQ(WithTrailingSeparator(tree->rootFolder()), home) << "the program's drive";
    const QString usb = dir.filePath(QStringLiteral("usb/"));
    QDir().mkpath(usb);
    ASSERT_TRUE(child<DriveList>("Drive3")->chooseDrive(QStringLiteral("/media/usb/")));
    EXPECT_EQ(WithTrailingSeparator(tree->rootFolder()), usb);
    EXPECT_EQ(child<QLineEdit>("Text_Dossier")->text(), usb);
    ASSERT_TRUE(child<DriveList>("Drive3")->chooseDrive(Home));
    ASSERT_TRUE(tree->chooseFolder(home + QStringLiteral("docs")));
    const QString picked = home + QStringLiteral("docs/");
    EXPECT_EQ(child<QLineEdit>("Text_Dossier")->text(), picked);

    answerACopy();
    QTest::keyClick(child<QLineEdit>("Text_Dossier"), Qt::Key_Return);
    EXPECT_EQ(fakes.messageBox.lastMessage().text, CopyDone);
    EXPECT_TRUE(QFile::exists(picked + QStringLiteral("TEXTES/2001/b.pdf")));
    EXPECT_EQ(settings.hardDiskFolder, picked);
    EXPECT_EQ(host.label, picked);
}

TEST_F(TextCopy, FailuresEndTheCopyWithTheirOwnMessage)
{
    // A permission failure is told as such, never as "a destination of the same name".
    fakes.files.failNext(FileOperation::CopyTree,
                         PlatformError(PlatformErrorCode::AccessError,
                                       QStringLiteral("Accès refusé : droits insuffisants")));
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::None, MessageButtons::Ok, QStringLiteral("Erreur"),
                               QStringLiteral("Erreur 75") + LineBreak +
                                   QStringLiteral("Accès refusé : droits insuffisants")}));
    EXPECT_FALSE(shown("Frame_CopieCD"));
    EXPECT_FALSE(fakes.busyPointer.isBusy());
    EXPECT_EQ(host.calls.last(), QStringLiteral("unlock"));
    EXPECT_EQ(settings.hardDiskFolder, programFolder) << "the folder chosen stays";
    EXPECT_EQ(settings.textsCopied, u'N');

    // A copy stopped part-way says how many files are missing.
    FillingFileSystem filling;
    FakePlatform &f = fakes;
    Platform platform{f.messageBox, f.busyPointer, f.settings,    f.launcher,       f.drives,
                      filling,      f.clipboard,   f.linePrinter, f.richTextPrinter};
    makeFrame(platform);
    frame->CopyOrMoveTexts();
    const QString incomplete = QStringLiteral("La copie incomplète des textes se trouve dans le "
                                              "dossier ") +
                               programFolder +
                               QStringLiteral("/TEXTES : effacez-le avant de "
                                              "recommencer la copie.");
    EXPECT_EQ(fakes.messageBox.lastMessage().text,
              QStringLiteral("Erreur 61") + LineBreak + QStringLiteral("Disque plein") + LineBreak +
                  QStringLiteral("La copie est incomplète : 2 fichier(s) n'ont pas été copiés.") +
                  LineBreak + incomplete);
    // Tried again on the disk it filled, the copy says where the incomplete copy lies.
    makeFrame(fakes.platform());
    QDir().mkpath(programFolder + QStringLiteral("/TEXTES"));
    fakes.drives.setFreeBytes(Home, 0);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage().text,
              QStringLiteral("Espace libre 0 Mo insuffisant pour la copie") + LineBreak +
                  QStringLiteral("Il faut 1200 Mo minimum") + LineBreak + incomplete);
    QDir(programFolder + QStringLiteral("/TEXTES")).removeRecursively();
    fakes.drives.setFreeBytes(Home, 2000 * MB);

    makeFrame(fakes.platform());
    choose(TextCopyFrame::CustomCopy);
    typeFolder(home + QStringLiteral("nouveau"));
    fakes.files.failNext(FileOperation::CreateFolder, PlatformError(PlatformErrorCode::BadPath));
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("Erreur"),
                               QStringLiteral("Unité ou chemin de dossier invalide")}));
}

TEST_F(TextCopy, ManualRegistrationOfAFolderFilledByHand)
{
    choose(TextCopyFrame::ManualCopy);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage().text,
              QStringLiteral("Il n'y a pas de dossier de destination"));
    const QString folder = home + QStringLiteral("Mes textes");
    typeFolder(folder);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Critical,
                               MessageButtons::Ok,
                               {},
                               QStringLiteral("Le dossier ") + folder +
                                   QStringLiteral(" n'existe pas") + LineBreak +
                                   QStringLiteral("Créez-le et copiez-y le contenu des dossiers "
                                                  "Textes des CD-ROM")}));
    EXPECT_EQ(settings.textsCopied, u'N');

    QDir().mkpath(folder);
    host.calls.clear();
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::Information,
                               MessageButtons::Ok,
                               {},
                               QStringLiteral("Les textes sont maintenant accessibles dans le "
                                              "dossier ") +
                                   folder}));
    EXPECT_EQ(settings.hardDiskFolder, folder);
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("lock"),
                                       QStringLiteral("save ") + folder + QStringLiteral(" O"),
                                       QStringLiteral("label ") + folder,
                                       QStringLiteral("hardDisk"), QStringLiteral("unlock")}));
    EXPECT_EQ(child<QLabel>("Lbl_DossierHD")->text(), folder);
    EXPECT_TRUE(frame->isHidden());
}

// Texts copied earlier into "old/TEXTES", the move chosen.
struct TextMove : public TextCopy {
    const QString old = home + QStringLiteral("old");
    const QString impossible = LineBreak + QStringLiteral("Déplacement impossible");

    TextMove()
    {
        write(QStringLiteral("home/old/TEXTES/1998/a.pdf"), "a");
        settings.textsCopied = u'O';
        settings.hardDiskFolder = old;
        host.label = old;
        frame->open();
        choose(TextCopyFrame::Move);
    }
    QString question(const QString &destination) const
    {
        return QStringLiteral("Dossier source = ") + old + LineBreak +
               QStringLiteral("Dossier destination = ") + destination + LineBreak +
               QStringLiteral("Exécuter le déplacement ?");
    }
};

TEST_F(TextMove, TheSameFolderOrOneInsideTheTextsIsRefused)
{
    const QString same = QStringLiteral("Source et destination identiques") + impossible;
    const QString inside =
        QStringLiteral("Le dossier destination est à l'intérieur du dossier des textes") +
        impossible;
    const std::pair<QString, QString> cases[] = {
        {old, same},
        {old + u'/', same},
        {home + QStringLiteral("./old/ "), same},
        {old + QStringLiteral("/TEXTES/1998"), inside},
    };
    for (const auto &[typed, text] : cases) {
        typeFolder(typed);
        frame->CopyOrMoveTexts();
        EXPECT_EQ(fakes.messageBox.lastMessage(),
                  (RecordedMessage{MessageIcon::Critical, MessageButtons::Ok, {}, text}))
            << qPrintable(typed);
    }
    EXPECT_EQ(fakes.messageBox.messages().size(), 4) << "no question asked";
    EXPECT_EQ(settings.hardDiskFolder, old);
    EXPECT_TRUE(fakes.files.calls().isEmpty());
}

TEST_F(TextMove, CancelLeavesTheTextsAndOkMovesThem)
{
    const QString typed = home + QStringLiteral("neuf ");
    const QString destination = home + QStringLiteral("neuf/");
    typeFolder(typed);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    frame->CopyOrMoveTexts();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{
                  MessageIcon::Exclamation, MessageButtons::OkCancel, {}, question(destination)}));
    EXPECT_EQ(settings.hardDiskFolder, old);
    EXPECT_FALSE(QFile::exists(destination));

    fakes.messageBox.clear();
    host.calls.clear();
    frame->CopyOrMoveTexts();
    EXPECT_EQ(texts(), (QStringList{question(destination),
                                    QStringLiteral("Le dossier ") + destination +
                                        QStringLiteral(" n'existe pas") + LineBreak +
                                        QStringLiteral("Il va être créé"),
                                    QStringLiteral(" Déplacement des textes réussi ")}));
    EXPECT_EQ(filesBelow(destination), QStringList{QStringLiteral("TEXTES/1998/a.pdf")});
    EXPECT_FALSE(QFile::exists(old + QStringLiteral("/TEXTES")));
    EXPECT_EQ(settings.hardDiskFolder, home + QStringLiteral("neuf"));
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("lock"), QStringLiteral("label ") + typed,
                                       QStringLiteral("hardDisk"), QStringLiteral("unlock")}))
        << "a move does not save";
    EXPECT_TRUE(frame->isHidden());
}

} // namespace
