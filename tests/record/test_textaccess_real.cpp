// "Texte" tried on a generated sample base with its disc folders, the real drives and files: a
// link stands for the CD-ROM drive and points at one disc folder or the other.
#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/platform/linuxdrives.h"
#include "core/platform/localfilesystem.h"
#include "core/record/textaccess.h"
#include "fakes/fakeplatform.h"
#include "samplebase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

ArticleTextPlace firstTextOn(Database &db, int disc)
{
    auto set = db.openRecordSet(QStringLiteral("SELECT * FROM TArticles"));
    const bool found = set->findFirst(QStringLiteral("Localisation = '") + QString::number(disc) +
                                      QStringLiteral("' AND TexteIntegral IS NOT NULL"));
    if (!found)
        return {};
    return {set->text(QStringLiteral("TexteIntegral")), set->text(QStringLiteral("Localisation"))};
}

TEST(TextAccessForReal, OpensThePdfOfTheDiscInTheLinkedDriveOrBesideItOrAsksForIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("sample"));
    sample::Options options;
    options.seed = 7;
    options.references = 200;
    options.writeTexts = true;
    sample::generate(folder, options);
    auto db = Database::open(QDir(folder).filePath(QString::fromLatin1(Database::FileName)));
    const ArticleTextPlace onDisc1 = firstTextOn(*db, 1);
    ASSERT_FALSE(onDisc1.fullText.isEmpty());

    const QString link = dir.filePath(QStringLiteral("cdrom"));
    const QString disc1 = QDir(folder).filePath(QStringLiteral("FERLIN4_1"));
    ASSERT_TRUE(QFile::link(disc1, link));

    FakePlatform fakes;
    LinuxDrives drives;
    LocalFileSystem files;
    Platform platform = fakes.withDrivesAndFiles(drives, files);
    Settings settings;
    settings.pdfViewer = QStringLiteral("/usr/bin/evince");
    settings.cdDrive = link;
    int currentCd = 1;

    OpenArticleText(settings, currentCd, onDisc1, platform, {});
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    ASSERT_EQ(fakes.launcher.starts().size(), 1);
    const FakeLauncher::Start &start = fakes.launcher.starts().front();
    EXPECT_EQ(start.program, QStringLiteral("/usr/bin/evince"));
    ASSERT_EQ(start.arguments.size(), 1);
    const QFileInfo opened(start.arguments.front());
    EXPECT_TRUE(opened.isFile());
    EXPECT_TRUE(opened.canonicalFilePath().startsWith(QFileInfo(disc1).canonicalFilePath() + u'/'));
    const QString below = QDir(link).relativeFilePath(opened.filePath());
    EXPECT_EQ(below.compare(onDisc1.fullText.mid(8).replace(u'\\', u'/'), Qt::CaseInsensitive), 0);

    // The link now points at the second disc: the first is read beside the folder it points at.
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(QDir(folder).filePath(QStringLiteral("FERLIN4_2")), link));
    OpenArticleText(settings, currentCd, onDisc1, platform, {});
    EXPECT_TRUE(fakes.messageBox.messages().isEmpty());
    ASSERT_EQ(fakes.launcher.starts().size(), 2);
    EXPECT_TRUE(QFileInfo(fakes.launcher.starts().back().arguments.value(0))
                    .canonicalFilePath()
                    .startsWith(QFileInfo(disc1).canonicalFilePath() + u'/'));

    // With the first disc nowhere, it is asked for until Cancel.
    ASSERT_TRUE(QDir().rename(disc1, dir.filePath(QStringLiteral("rangé"))));
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    OpenArticleText(settings, currentCd, onDisc1, platform, {});
    ASSERT_EQ(fakes.messageBox.messages().size(), 2);
    EXPECT_EQ(fakes.messageBox.lastMessage().text,
              QStringLiteral("Le CD n'est pas le bon.\r\nMettre le CD n° 1 dans le lecteur ") +
                  link);
    EXPECT_EQ(fakes.launcher.starts().size(), 2);
}

} // namespace
