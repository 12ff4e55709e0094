// The texts of the two sample discs copied for real into the program's folder, the first disc's
// folder standing for the CD-ROM drive and the second read beside it, after which "Texte" of the
// record card opens the article from the hard disk.
#include "app/mainwindow.h"
#include "app/screens.h"
#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/platform/linuxdrives.h"
#include "core/platform/localfilesystem.h"
#include "fakes/fakeplatform.h"
#include "gui/config/textlocationpage.h"
#include "gui/record/recordcard.h"
#include "samplebase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

int countFiles(const QString &folder)
{
    int count = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

TEST(TextCopyForReal, CopiesBothDiscsIntoTheProgramFolderThenTexteReadsTheHardDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sampleFolder = dir.filePath(QStringLiteral("sample"));
    sample::Options options;
    options.seed = 11;
    options.references = 150;
    sample::generate(sampleFolder, options);
    const QString programFolder = dir.filePath(QStringLiteral("ferlin"));
    QDir().mkpath(programFolder);
    const QString base = QDir(programFolder).filePath(QString::fromLatin1(Database::FileName));
    ASSERT_TRUE(
        QFile::copy(QDir(sampleFolder).filePath(QString::fromLatin1(Database::FileName)), base));
    const QString disc1 = QDir(sampleFolder).filePath(QStringLiteral("FERLIN4_1"));
    const QString disc2 = QDir(sampleFolder).filePath(QStringLiteral("FERLIN4_2"));
    // Through a link, as a drive's mount point may be: the other disc lies where the folder is.
    const QString drive = dir.filePath(QStringLiteral("cdrom"));
    ASSERT_TRUE(QFile::link(disc1, drive));

    FakePlatform fakes;
    LinuxDrives drives;
    LocalFileSystem files;
    Platform platform = fakes.withDrivesAndFiles(drives, files);
    for (const auto &[name, value] : std::initializer_list<std::pair<const char *, QString>>{
             {"Startup", QStringLiteral("1")},
             {"TextesRecopies", QStringLiteral("N")},
             {"TextesHD", QStringLiteral("True")},
             {"TextesCD", QStringLiteral("False")},
             {"LecteurPDF", QStringLiteral("/usr/bin/evince")},
             {"LecteurCD", drive}})
        fakes.settings.setValue(QString::fromUtf8(name), value);
    for (const QString &name : Settings::printFieldNames())
        fakes.settings.setValue(name, QStringLiteral("0"));
    AppContext context(base, platform);
    MainWindow window(context);
    installScreens(window);
    window.resize(1024, 768);
    window.show();
    window.load();
    ASSERT_TRUE(window.startupSucceeded());
    fakes.messageBox.clear();

    fakes.messageBox.pushAnswer(MessageAnswer::Yes); // Continuer ?
    window.showScreen(QStringLiteral("F_copie"));
    auto *page = window.screenAs<TextLocationPage>(QStringLiteral("F_copie"));
    QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("Cmd_recopie")),
                      Qt::LeftButton);
    ASSERT_TRUE(page->findChild<QRadioButton *>(QStringLiteral("Option1_0"))->isChecked());
    QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

    ASSERT_EQ(fakes.messageBox.messages().size(), 2) << "no disc asked for";
    EXPECT_EQ(fakes.messageBox.lastMessage().text,
              QStringLiteral("Recopie des textes terminée\r\nVous pouvez dorénavant choisir à tout "
                             "moment de lire les textes sur le disque dur ou sur les CD-ROM"));
    const QString copied = QDir(programFolder).filePath(QStringLiteral("TEXTES"));
    EXPECT_EQ(countFiles(copied), countFiles(disc1 + QStringLiteral("/Textes")) +
                                      countFiles(disc2 + QStringLiteral("/Textes")));
    const Settings &settings = context.state.settings;
    EXPECT_EQ(settings.textsCopied, u'O');
    EXPECT_EQ(settings.hardDiskFolder, programFolder);
    EXPECT_TRUE(settings.textsOnHardDisk);
    EXPECT_EQ(fakes.settings.read(Settings::Key, QStringLiteral("CheminHD")), programFolder);
    EXPECT_EQ(fakes.settings.read(Settings::Key, QStringLiteral("TextesRecopies")),
              QStringLiteral("O"));
    // The save came before the switch: the location stored is the one chosen before the copy.
    EXPECT_EQ(fakes.settings.read(Settings::Key, QStringLiteral("TextesHD")),
              QStringLiteral("True"));

    // With no disc in the drive at all, "Texte" reads the copy on the hard disk.
    QFile::remove(drive);
    auto &set = *context.catalogue.card;
    int position = -1;
    for (set.moveFirst(); !set.isEof() && position < 0; set.moveNext())
        if (set.text(QStringLiteral("Localisation")) == QStringLiteral("1") &&
            !set.text(QStringLiteral("TexteIntegral")).isEmpty())
            position = set.absolutePosition();
    ASSERT_GE(position, 0);
    auto *card = window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    card->OpenCard(CardState::BaseMode, 0, 0, position + 1);
    window.showScreen(QStringLiteral("F_formul"));
    fakes.messageBox.clear();
    QTest::mouseClick(card->findChild<QPushButton *>(QStringLiteral("Cmd_DOC")), Qt::LeftButton);
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    ASSERT_EQ(fakes.launcher.starts().size(), 1);
    const QString opened = fakes.launcher.starts().front().arguments.value(0);
    EXPECT_TRUE(opened.startsWith(copied + u'/')) << opened.toStdString();
    EXPECT_TRUE(QFileInfo(opened).isFile());
}

} // namespace
