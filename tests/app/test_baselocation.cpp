// Where the base lives: beside a writable program, else in each user's data folder, seeded once
// from the program's folder (its base, or its published file converted).
#include "app/baseatstartup.h"
#include "core/context/baselocation.h"
#include "fakes/fakeplatform.h"
#include "replaysource.h"
#include "support/programfixture.h"
#include "support/samplebasecopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace ferlin;
using namespace ferlin::test;

namespace {

QByteArray checksum(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A program's folder holding the sample base, and a user's data folder not made yet.
struct InstalledProgram {
    QTemporaryDir dir;
    QString programFolder = dir.filePath(QStringLiteral("lib/ferlin"));
    QString userFolder = dir.filePath(QStringLiteral("home/.local/share/Ferlin"));
    BaseLocation location = chooseBaseLocation(programFolder, userFolder, false);

    explicit InstalledProgram(bool withBase = true)
    {
        QDir().mkpath(programFolder);
        if (withBase) {
            QFile::copy(generatedBase(50), location.programBasePath());
            // Installed files are read-only to their users.
            QFile(location.programBasePath()).setPermissions(QFile::ReadOwner | QFile::ReadOther);
        }
    }
};

TEST(BaseLocation, StaysBesideAProgramThatKeepsItAndIsTheUsersCopyOtherwise)
{
    const QString program = QStringLiteral("/opt/ferlin/lib/ferlin");
    const QString user = QStringLiteral("/home/prof/.local/share/Ferlin");

    const BaseLocation beside = chooseBaseLocation(program, user, true);
    EXPECT_EQ(beside.databasePath, program + QStringLiteral("/ferlin4.sqlite"));
    EXPECT_FALSE(beside.isUserCopy());

    const BaseLocation copy = chooseBaseLocation(program, user, false);
    EXPECT_EQ(copy.databasePath, user + QStringLiteral("/ferlin4.sqlite"));
    EXPECT_TRUE(copy.isUserCopy());
    EXPECT_EQ(copy.programBasePath(), program + QStringLiteral("/ferlin4.sqlite"));
    EXPECT_EQ(copy.discFolderPlaces(), (QStringList{program, user}));
    EXPECT_EQ(chooseBaseLocation(user, user, true).discFolderPlaces(), QStringList{user});
}

TEST(BaseLocation, AnInstalledOrReadOnlyProgramFolderKeepsNoBase)
{
    QTemporaryDir dir;
    EXPECT_TRUE(programFolderKeepsBase(dir.path()));
    // The install's marker decides even for a user who may write the folder (root).
    QFile marker(dir.filePath(QLatin1String(InstalledMarkerName)));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    EXPECT_FALSE(programFolderKeepsBase(dir.path()));
    marker.remove();

    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (::geteuid() != 0) { // root writes anywhere
        EXPECT_FALSE(programFolderKeepsBase(dir.path()));
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(BaseLocation, AnInstalledProgramFindsTheSampleInItsSharedDataFolder)
{
    QTemporaryDir prefix;
    const QString program = prefix.filePath(QStringLiteral("lib/ferlin"));
    const QString data = prefix.filePath(QStringLiteral("share/ferlin"));
    const QString user = prefix.filePath(QStringLiteral("home/Ferlin"));
    QDir().mkpath(program);
    QDir().mkpath(data);
    EXPECT_EQ(installedDataFolder(program), QString()) << "not installed";
    QFile(QDir(program).filePath(QLatin1String(InstalledMarkerName))).open(QIODevice::WriteOnly);
    ASSERT_EQ(installedDataFolder(program), data);

    const BaseLocation location = chooseBaseLocation(program, user, false, data);
    EXPECT_EQ(location.discFolderPlaces(), (QStringList{program, data, user}));
    // The sample's package puts its base there; one the administrator puts beside the program
    // comes first.
    EXPECT_EQ(location.programBasePath(), program + QStringLiteral("/ferlin4.sqlite"));
    QFile(data + QStringLiteral("/ferlin4.sqlite")).open(QIODevice::WriteOnly);
    EXPECT_EQ(location.programBasePath(), data + QStringLiteral("/ferlin4.sqlite"));
    QFile(program + QStringLiteral("/ferlin4.sqlite")).open(QIODevice::WriteOnly);
    EXPECT_EQ(location.programBasePath(), program + QStringLiteral("/ferlin4.sqlite"));
}

TEST(BaseLocation, TheUsersDataFolderFollowsXdgDataHome)
{
    const QByteArray home = qgetenv("HOME");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", "/home/prof");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(userDataFolder(), QStringLiteral("/home/prof/.local/share/Ferlin"));
    qputenv("XDG_DATA_HOME", "/srv/données");
    EXPECT_EQ(userDataFolder(), QStringLiteral("/srv/données/Ferlin"));
    qputenv("HOME", home);
    if (dataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", dataHome);
}

TEST(UserBase, IsCopiedOnceWritableAndWholeFromTheProgramsFolder)
{
    InstalledProgram program;
    const QByteArray installed = checksum(program.location.programBasePath());
    // A journal left without its base would be played back into the copy.
    QDir().mkpath(program.userFolder);
    QFile journal(program.location.databasePath + QStringLiteral("-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("reste");
    journal.close();

    EXPECT_TRUE(seedUserBase(program.location));
    EXPECT_EQ(checksum(program.location.databasePath), installed);
    EXPECT_TRUE(QFileInfo(program.location.databasePath).isWritable());
    EXPECT_FALSE(journal.exists());
    EXPECT_EQ(QDir(program.userFolder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("ferlin4.sqlite")});

    // Later starts keep the copy, baskets and all.
    Database::open(program.location.databasePath)
        ->execute(QStringLiteral("DELETE FROM [TSélection1]"));
    const QByteArray changed = checksum(program.location.databasePath);
    EXPECT_FALSE(seedUserBase(program.location));
    EXPECT_EQ(checksum(program.location.databasePath), changed);
    EXPECT_EQ(checksum(program.location.programBasePath()), installed);

    // Beside a writable program nothing is copied.
    const BaseLocation beside = chooseBaseLocation(program.programFolder, program.userFolder, true);
    EXPECT_FALSE(seedUserBase(beside));
}

TEST(UserBase, AtStartUpTheUserIsToldOnceWhereTheirCopyIs)
{
    InstalledProgram program;
    FakePlatform fakes;
    EXPECT_TRUE(PrepareBaseAtStartup(program.location, fakes.platform()));
    ASSERT_EQ(fakes.messageBox.messages().size(), 1);
    const RecordedMessage &told = fakes.messageBox.lastMessage();
    EXPECT_EQ(told.icon, MessageIcon::Information);
    EXPECT_EQ(told.buttons, MessageButtons::Ok);
    EXPECT_EQ(told.shownTitle(), QStringLiteral("Ferlin 4"));
    EXPECT_EQ(told.text, QStringLiteral("Ferlin a créé votre copie de la base, avec vos paniers, "
                                        "dans « ") +
                             program.userFolder + QStringLiteral(" »."));

    EXPECT_FALSE(PrepareBaseAtStartup(program.location, fakes.platform()));
    EXPECT_EQ(fakes.messageBox.messages().size(), 1);
}

TEST(UserBase, ThePublishedFileOfAReadOnlyProgramIsConvertedIntoTheUsersFolder)
{
    InstalledProgram program(false);
    QFile published(QDir(program.programFolder).filePath(QStringLiteral("FERLIN4.MDB")));
    ASSERT_TRUE(published.open(QIODevice::WriteOnly));
    published.close();
    FakePlatform fakes;
    const auto replay = [](const QString &) -> std::unique_ptr<RowSource> {
        return std::make_unique<sample::ReplaySource>(generatedBase(50));
    };

    EXPECT_TRUE(PrepareBaseAtStartup(program.location, fakes.platform(), replay));
    EXPECT_EQ(Database::open(program.location.databasePath)
                  ->scalar(QStringLiteral("SELECT count(*) FROM TArticles"))
                  .toInt(),
              50);
    EXPECT_EQ(QDir(program.programFolder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("FERLIN4.MDB")});
    ASSERT_EQ(fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(fakes.messageBox.lastMessage().text, userCopyMessage(program.userFolder));
}

TEST(UserBase, ACopyThatFailsIsShownAsAFailedStartUp)
{
    InstalledProgram program;
    // The user's data folder cannot be made: a file stands in its way.
    QDir().mkpath(QFileInfo(program.userFolder).absolutePath());
    QFile obstacle(program.userFolder);
    ASSERT_TRUE(obstacle.open(QIODevice::WriteOnly));
    obstacle.close();
    FakePlatform fakes;

    EXPECT_FALSE(PrepareBaseAtStartup(program.location, fakes.platform()));
    ASSERT_EQ(fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(fakes.messageBox.lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_EQ(fakes.messageBox.lastMessage().shownTitle(), QStringLiteral("Ouverture avortée"));
    EXPECT_TRUE(fakes.messageBox.lastMessage().text.startsWith(QStringLiteral(" Erreur ")));
}

TEST(UserBase, NoBaseAnywhereNamesBothPlacesInTheStartUpsMessage)
{
    ProgramFixture program;
    const QString userFolder = program.dir.filePath(QStringLiteral("Ferlin"));
    program.context.databasePath = userFolder + QStringLiteral("/ferlin4.sqlite");
    program.context.readOnlyProgramFolder = QStringLiteral("/usr/lib/ferlin");
    program.window.load();

    EXPECT_FALSE(program.window.startupSucceeded());
    ASSERT_EQ(program.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(program.fakes.messageBox.lastMessage().text,
              QStringLiteral(" Erreur  3024\r\nFichier « ferlin4.sqlite » introuvable, ni dans le "
                             "dossier du programme « /usr/lib/ferlin » ni dans votre dossier « ") +
                  userFolder + QStringLiteral(" »."));
    EXPECT_EQ(program.fakes.messageBox.lastMessage().shownTitle(),
              QStringLiteral("Ouverture avortée"));
}

} // namespace
