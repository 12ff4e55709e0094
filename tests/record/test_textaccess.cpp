#include "app/mainwindow.h"
#include "core/platform/platformerror.h"
#include "core/platform/storedpath.h"
#include "core/record/textaccess.h"
#include "fakes/fakeplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString Viewer = QStringLiteral("/opt/pdf viewer/bin/view");
const QString Drive = QStringLiteral("/dev/sr0");
const QString FullText = QStringLiteral("FERLIN4\\Textes\\1998\\a.pdf");
const QString OtherText = QStringLiteral("FERLIN4\\Textes\\2001\\b.pdf");
const QString NoViewer =
    QStringLiteral(" Pas de visualiseur de texte défini. Configurez le programme. ");
const QString Advice = LineBreak + QStringLiteral("Vérifiez que le CD-ROM est dans le lecteur") +
                       LineBreak +
                       QStringLiteral("et vérifiez la configuration de Ferlin (chemin du dossier "
                                      "et visualiseur de textes).");

QString wrongDisc(const QString &disc)
{
    return QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
           QStringLiteral("Mettre le CD n° ") + disc + QStringLiteral(" dans le lecteur ") + Drive;
}

QString changeDisc(const QString &disc)
{
    return QStringLiteral("Mettre le CD n° ") + disc + QStringLiteral(" dans le lecteur ") + Drive +
           QStringLiteral(" et attendez son démarrage");
}

// A fresh run: settings, the run state's disc, a temporary folder holding a hard-disk copy
// ("My Docs/Textes/...", a blank in its name) and two disc folders, names in other cases.
struct TextAccess : public ::testing::Test {
    FakePlatform fakes;
    QTemporaryDir dir;
    Settings settings;
    int currentCd = 1;
    QStringList screensOpened;

    TextAccess()
    {
        settings.pdfViewer = QStringLiteral("  ") + Viewer + QStringLiteral(" ");
        settings.cdDrive = Drive;
        settings.hardDiskFolder = dir.filePath(QStringLiteral("My Docs"));
        write(QStringLiteral("My Docs/Textes/1998/A.PDF"));
        write(QStringLiteral("disc1/TEXTES/1998/A.PDF"));
        write(QStringLiteral("disc2/TEXTES/2001/B.PDF"));
        FakeDrives::Drive cd;
        cd.type = DriveType::CdRom;
        fakes.drives.addDrive(Drive, cd);
        insertDisc(1);
    }

    void write(const QString &relative)
    {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }

    QString discFile(int disc, const char *relative) const
    {
        return dir.filePath(QStringLiteral("disc") + QString::number(disc) + u'/' +
                            QString::fromUtf8(relative));
    }

    void insertDisc(int disc)
    {
        FakeDrives::Drive &cd = fakes.drives.drive(Drive);
        cd.label = QStringLiteral("FERLIN4_") + QString::number(disc);
        cd.root = dir.filePath(QStringLiteral("disc") + QString::number(disc)) + u'/';
        cd.ready = true;
    }

    // Answers the next message by putting a disc in the drive and choosing OK.
    void insertDiscOnNextMessage(int disc)
    {
        fakes.messageBox.pushResponder([this, disc](const RecordedMessage &) {
            insertDisc(disc);
            return MessageAnswer::Ok;
        });
    }

    void open(const QString &fullText, const QString &disc)
    {
        OpenArticleText(settings, currentCd, {fullText, disc}, fakes.platform(),
                        [this](Screen screen) {
                            screensOpened << MainWindow::screenName(screen);
                            return false;
                        });
    }

    void openViewerAlone(const QString &viewerText)
    {
        OpenViewerAlone(viewerText, fakes.platform(), [this](Screen screen) {
            screensOpened << MainWindow::screenName(screen);
            return false;
        });
    }

    QList<FakeLauncher::Start> started(const QString &file) const { return {{Viewer, {file}}}; }

    QList<RecordedMessage> only(MessageIcon icon, MessageButtons buttons, const QString &text,
                                std::optional<QString> title) const
    {
        return {RecordedMessage{icon, buttons, std::move(title), text}};
    }
};

TEST_F(TextAccess, HardDiskOpensTheRealFileAsOneArgument)
{
    settings.setTextsOnHardDisk(true);
    open(FullText, QStringLiteral("1"));
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    const QString real = dir.filePath(QStringLiteral("My Docs/Textes/1998/A.PDF"));
    EXPECT_EQ(fakes.launcher.starts(), started(real));
    EXPECT_EQ(currentCd, 1);
}

TEST_F(TextAccess, HardDiskReportsAMissingFileOrAnUndefinedFolder)
{
    settings.setTextsOnHardDisk(true);
    QFile::remove(dir.filePath(QStringLiteral("My Docs/Textes/1998/A.PDF")));
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::Critical, MessageButtons::Ok,
                   QStringLiteral(" Le texte \\1998\\a.pdf n'existe pas "),
                   QStringLiteral(" Erreur")));
    EXPECT_TRUE(screensOpened.isEmpty());

    fakes.messageBox.clear();
    settings.hardDiskFolder.clear();
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::None, MessageButtons::Ok,
                   QStringLiteral(" Le dossier contenant les textes n'est pas défini.") +
                       LineBreak + QStringLiteral("Configurer le programme. "),
                   QStringLiteral(" ")));
    EXPECT_EQ(screensOpened, QStringList{QStringLiteral("F_copie")});
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());
}

TEST_F(TextAccess, BlankOrEmptyViewerLeadsToTheConfiguration)
{
    for (const QString &viewer : {QStringLiteral("   "), QString()}) {
        fakes.messageBox.clear();
        screensOpened.clear();
        settings.pdfViewer = viewer;
        open(FullText, QStringLiteral("1"));
        EXPECT_EQ(fakes.messageBox.messages(),
                  only(MessageIcon::None, MessageButtons::Ok, NoViewer, QStringLiteral(" ")));
        EXPECT_EQ(screensOpened, QStringList{QStringLiteral("Config")});
    }
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());
}

TEST_F(TextAccess, DiscInTheDriveOpensItsFileWithoutAQuestion)
{
    open(FullText, QStringLiteral("1"));
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    EXPECT_EQ(fakes.launcher.starts(), started(discFile(1, "TEXTES/1998/A.PDF")));
    EXPECT_EQ(currentCd, 1);
}

TEST_F(TextAccess, AsksForEachDiscChangeAndRemembersTheDiscFound)
{
    open(FullText, QStringLiteral("1"));
    insertDiscOnNextMessage(2);
    open(OtherText, QStringLiteral("2"));
    EXPECT_EQ(currentCd, 2);
    insertDiscOnNextMessage(1);
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(currentCd, 1);

    const QList<RecordedMessage> expected{{MessageIcon::None, MessageButtons::OkCancel,
                                           std::nullopt, changeDisc(QStringLiteral("2"))},
                                          {MessageIcon::None, MessageButtons::OkCancel,
                                           std::nullopt, changeDisc(QStringLiteral("1"))}};
    EXPECT_EQ(fakes.messageBox.messages(), expected);
    const QList<FakeLauncher::Start> starts{{Viewer, {discFile(1, "TEXTES/1998/A.PDF")}},
                                            {Viewer, {discFile(2, "TEXTES/2001/B.PDF")}},
                                            {Viewer, {discFile(1, "TEXTES/1998/A.PDF")}}};
    EXPECT_EQ(fakes.launcher.starts(), starts);

    // Cancel at the question: nothing opens and the disc last found stays.
    fakes.messageBox.clear();
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    open(OtherText, QStringLiteral("2"));
    EXPECT_EQ(fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(fakes.launcher.starts().size(), 3);
    EXPECT_EQ(currentCd, 1);
}

TEST_F(TextAccess, ADiscAlreadyThereIsNeverAskedFor)
{
    // Changed by the user between two texts: the disc in the drive is the one needed.
    insertDisc(2);
    open(OtherText, QStringLiteral("2"));
    EXPECT_EQ(currentCd, 2);
    insertDisc(1);
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(currentCd, 1);
    // A folder standing for the drive: the other disc's folder lies beside it.
    FakeDrives::Drive folder2{DriveType::CdRom, QStringLiteral("FERLIN4_2"),
                              dir.filePath(QStringLiteral("disc2/")), 0, true};
    folder2.oneDisc = true;
    fakes.drives.addDrive(QStringLiteral("/discs/FERLIN4_2/"), folder2);
    fakes.drives.drive(Drive).oneDisc = true;
    open(OtherText, QStringLiteral("2"));
    EXPECT_EQ(currentCd, 2);

    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    const QList<FakeLauncher::Start> starts{{Viewer, {discFile(2, "TEXTES/2001/B.PDF")}},
                                            {Viewer, {discFile(1, "TEXTES/1998/A.PDF")}},
                                            {Viewer, {discFile(2, "TEXTES/2001/B.PDF")}}};
    EXPECT_EQ(fakes.launcher.starts(), starts);
}

TEST_F(TextAccess, WrongDiscIsAskedForAgainUntilCancel)
{
    insertDisc(2);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    open(FullText, QStringLiteral("1"));
    const RecordedMessage wrong{MessageIcon::None, MessageButtons::OkCancel, std::nullopt,
                                wrongDisc(QStringLiteral("1"))};
    EXPECT_EQ(fakes.messageBox.messages(), (QList<RecordedMessage>{wrong, wrong}));
    EXPECT_EQ(fakes.drives.labelReads(Drive), 3); // read first, then once per question
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());

    // The right disc inserted at the question: the text opens.
    fakes.messageBox.clear();
    insertDisc(2);
    insertDiscOnNextMessage(1);
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(fakes.messageBox.messages(), (QList<RecordedMessage>{wrong}));
    EXPECT_EQ(fakes.launcher.starts(), started(discFile(1, "TEXTES/1998/A.PDF")));
}

TEST_F(TextAccess, EmptyDriveAsksForTheDiscAndGoesOnOnceInserted)
{
    fakes.drives.setReady(Drive, false);
    insertDiscOnNextMessage(1);
    open(FullText, QStringLiteral("1"));
    const QString notReady = PlatformError(PlatformErrorCode::DiskNotReady).description() +
                             LineBreak + QStringLiteral("Mettez le CD-ROM n° 1 dans le lecteur ") +
                             Drive + QStringLiteral(" et attendez son démarrage");
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::None, MessageButtons::OkCancel, notReady, std::nullopt));
    EXPECT_EQ(fakes.launcher.starts(), started(discFile(1, "TEXTES/1998/A.PDF")));

    // Cancel ends it.
    fakes.messageBox.clear();
    fakes.drives.setReady(Drive, false);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(fakes.launcher.starts().size(), 1);
}

TEST_F(TextAccess, AnyOtherErrorIsReportedWithAdvice)
{
    fakes.launcher.setFailure(PlatformError(PlatformErrorCode::FileNotFound));
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::None, MessageButtons::Ok,
                   PlatformError(PlatformErrorCode::FileNotFound).description() + Advice,
                   QStringLiteral(" ")));

    // A drive setting that names no drive.
    fakes.messageBox.clear();
    fakes.launcher.setFailure(std::nullopt);
    settings.cdDrive = QStringLiteral("I:\\");
    open(FullText, QStringLiteral("1"));
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::None, MessageButtons::Ok,
                   PlatformError(PlatformErrorCode::NoSuchDrive).description() + Advice,
                   QStringLiteral(" ")));
    EXPECT_TRUE(screensOpened.isEmpty());
}

TEST_F(TextAccess, ViewerAloneStartsWithoutArgumentsOrSendsToTheConfiguration)
{
    openViewerAlone(QStringLiteral(" /usr/bin/evince "));
    EXPECT_EQ(fakes.launcher.starts(),
              (QList<FakeLauncher::Start>{{QStringLiteral("/usr/bin/evince"), {}}}));
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    EXPECT_TRUE(screensOpened.isEmpty());

    openViewerAlone(QString());
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::Critical, MessageButtons::Ok,
                   QStringLiteral(" Chemin de dossier introuvable. Configurez le programme. "),
                   QStringLiteral(" Erreur ")));
    fakes.messageBox.clear();
    openViewerAlone(QStringLiteral("  "));
    EXPECT_EQ(fakes.messageBox.messages(), only(MessageIcon::Critical, MessageButtons::Ok, NoViewer,
                                                QStringLiteral(" Erreur ")));
    EXPECT_EQ(screensOpened, (QStringList{QStringLiteral("Config"), QStringLiteral("Config")}));
    EXPECT_EQ(fakes.launcher.starts().size(), 1);

    fakes.messageBox.clear();
    fakes.launcher.setFailure(PlatformError(PlatformErrorCode::FileNotFound));
    openViewerAlone(QStringLiteral("/nowhere/viewer"));
    EXPECT_EQ(fakes.messageBox.messages(),
              only(MessageIcon::None, MessageButtons::Ok,
                   QStringLiteral(" Erreur 53 ") +
                       PlatformError(PlatformErrorCode::FileNotFound).description() + Advice,
                   QStringLiteral(" ")));
    EXPECT_EQ(screensOpened.size(), 3);
}

} // namespace

TEST_F(TextAccess, AStoredNameLeadingOutOfTheTextsFolderIsAMissingText)
{
    // A file beside the texts, and a link inside them leading out.
    write(QStringLiteral("secret/passwd"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("secret")),
                            dir.filePath(QStringLiteral("My Docs/Textes/fuite"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("secret")),
                            dir.filePath(QStringLiteral("disc1/TEXTES/fuite"))));
    const QString climbing =
        QStringLiteral("FERLIN4\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\secret\\passwd");
    const QString linked = QStringLiteral("FERLIN4\\Textes\\fuite\\passwd");
    for (bool hardDisk : {true, false}) {
        settings.setTextsOnHardDisk(hardDisk);
        for (const QString &stored : {climbing, linked}) {
            fakes.messageBox.clear();
            open(stored, QStringLiteral("1"));
            // Told missing, or (from a disc) handed over as a name below the disc, never the
            // file outside.
            for (const RecordedMessage &m : fakes.messageBox.messages())
                EXPECT_TRUE(m.text.endsWith(QStringLiteral(" n'existe pas ")))
                    << m.text.toStdString();
        }
    }
    for (const FakeLauncher::Start &start : fakes.launcher.starts()) {
        EXPECT_TRUE(start.arguments.front().startsWith(dir.filePath(QStringLiteral("disc1/"))));
        EXPECT_FALSE(QFile::exists(start.arguments.front()));
    }
    EXPECT_EQ(fakes.launcher.starts().size(), 1); // the climbing name, from the disc
    EXPECT_EQ(resolveStoredPath(QStringLiteral("/cd"), climbing),
              QStringLiteral("/cd/FERLIN4/secret/passwd"));
}
