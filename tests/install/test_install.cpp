// The program as a desktop installs it: this build installed into a temporary DESTDIR (the
// sample base included), its files and their validators, and the installed launcher started
// from another folder with a home of its own.
#include "core/baskets/basketoperations.h"
#include "core/context/appcontext.h"
#include "core/record/cardbrowser.h"
#include "fakes/fakeplatform.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace ferlin;

namespace {

const QString AppId = QStringLiteral("fr.example.orv.ferlin");

// Runs a program to its end; its standard error when it fails, empty text when it succeeded.
QString run(const QString &program, const QStringList &arguments,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return program + QStringLiteral(" did not end");
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return {};
    return QString::fromLocal8Bit(process.readAll());
}

// Every file and link under a folder, with its content's checksum (a link's target).
QMap<QString, QByteArray> checksums(const QString &folder)
{
    QMap<QString, QByteArray> sums;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QByteArray sum = "folder";
        if (entry.isSymLink()) {
            sum = entry.symLinkTarget().toUtf8();
        } else if (entry.isFile()) {
            QFile file(entry.filePath());
            file.open(QIODevice::ReadOnly);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            hash.addData(&file);
            sum = hash.result();
        }
        sums.insert(QDir(folder).relativeFilePath(entry.filePath()), sum);
    }
    return sums;
}

// Waits until a condition holds while the process runs.
bool waitFor(QProcess &process, const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(120000);
    while (!condition()) {
        if (process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// The files a process holds open.
QStringList openFiles(qint64 pid)
{
    QStringList files;
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString &fd :
         QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        files << QFileInfo(fds + u'/' + fd).symLinkTarget();
    return files;
}

struct NoViews : BasketViews {
    void rankLineChanged(int, int, int) override {}
    void basketShownEmpty(int) override {}
    void publishCounts() override {}
    void bringIntroToFront() override {}
};

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = std::make_unique<QTemporaryDir>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), destination());
        const QStringList install{QStringLiteral("--install"), QStringLiteral(FERLIN_BUILD_DIR),
                                  QStringLiteral("--prefix"), QStringLiteral("/usr")};
        s_failure = run(QStringLiteral(FERLIN_CMAKE), install, environment);
        if (s_failure.isEmpty())
            s_failure =
                run(QStringLiteral(FERLIN_CMAKE),
                    install + QStringList{QStringLiteral("--component"), QStringLiteral("sample")},
                    environment);
    }
    static void TearDownTestSuite() { s_root.reset(); }

    void SetUp() override
    {
        if (!s_failure.isEmpty())
            GTEST_SKIP() << "the build could not be installed: " << s_failure.toStdString();
    }

    static QString destination() { return s_root->filePath(QStringLiteral("dest")); }
    static QString installed(const QString &relative)
    {
        return destination() + QStringLiteral("/usr/") + relative;
    }

    static std::unique_ptr<QTemporaryDir> s_root;
    static QString s_failure;
};

std::unique_ptr<QTemporaryDir> Installed::s_root;
QString Installed::s_failure;

TEST_F(Installed, LaysOutTheProgramsFolderTheLauncherTheMenuEntryTheIconAndTheMetadata)
{
    // Nothing outside the prefix.
    EXPECT_EQ(QDir(destination()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("usr")});
    QStringList files{QStringLiteral("lib/ferlin/ferlin"),
                      QStringLiteral("lib/ferlin/ferlin-reader"),
                      QStringLiteral("lib/ferlin/modules/ferlin_pdfreader.so"),
                      QStringLiteral("lib/ferlin/ferlin.installed"),
                      QStringLiteral("lib/ferlin/Bld-up.bmp"),
                      QStringLiteral("lib/ferlin/Itl-mds.bmp"),
                      QStringLiteral("share/ferlin/ferlin4.sqlite"),
                      QStringLiteral("share/man/man1/ferlin.1.gz"),
                      QStringLiteral("share/doc/ferlin/copyright"),
                      QStringLiteral("share/doc/ferlin/changelog.Debian.gz"),
                      QStringLiteral("share/doc/ferlin-sample/copyright"),
                      QStringLiteral("share/applications/") + AppId + QStringLiteral(".desktop"),
                      QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml"),
                      QStringLiteral("share/icons/hicolor/scalable/apps/") + AppId +
                          QStringLiteral(".svg")};
    if (FERLIN_ICON_PICTURES)
        for (const char *size : {"48x48", "256x256"})
            files << QStringLiteral("share/icons/hicolor/%1/apps/").arg(QLatin1String(size)) +
                         AppId + QStringLiteral(".png");
    for (const QString &file : files)
        EXPECT_TRUE(QFileInfo(installed(file)).isFile()) << file.toStdString();
    EXPECT_TRUE(QFileInfo(installed(QStringLiteral("share/ferlin/FERLIN4_2/Textes"))).isDir());
    EXPECT_TRUE(QFileInfo(installed(QStringLiteral("share/ferlin/FERLIN4_1/Acrobat4/Rs40fre.exe")))
                    .isExecutable());
    EXPECT_TRUE(QFileInfo(installed(QStringLiteral("lib/ferlin/ferlin"))).isExecutable());
    const QFileInfo launcher(installed(QStringLiteral("bin/ferlin")));
    EXPECT_TRUE(launcher.isSymLink());
    EXPECT_EQ(launcher.canonicalFilePath(),
              QFileInfo(installed(QStringLiteral("lib/ferlin/ferlin"))).canonicalFilePath());

    QFile entry(
        installed(QStringLiteral("share/applications/") + AppId + QStringLiteral(".desktop")));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=/usr/bin/ferlin\n"))) << text.toStdString();
    // One main category: menus list the program once.
    EXPECT_TRUE(text.contains(QStringLiteral("\nCategories=Education;Literature;\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=") + AppId + u'\n'));
}

TEST_F(Installed, TheMenuEntryAndTheMetadataPassTheirValidators)
{
    const QString desktop = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (desktop.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) or appstreamcli (appstream) "
                        "is not installed";
    // Whatever they say, a hint included, is a fault.
    const auto said = [](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        process.waitForFinished(120000);
        const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
        return process.exitCode() == 0 ? output : QStringLiteral("failed: ") + output;
    };
    EXPECT_EQ(said(desktop, {installed(QStringLiteral("share/applications/") + AppId +
                                       QStringLiteral(".desktop"))}),
              QString());
    const QString metadata = said(
        appstream,
        {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
         installed(QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml"))});
    EXPECT_TRUE(metadata.isEmpty() || metadata.startsWith(QStringLiteral("✔")))
        << metadata.toStdString();
}

TEST_F(Installed, EachUserWorksOnTheirOwnCopyOfTheBaseAndTheInstalledFolderStaysAsItWas)
{
    const QMap<QString, QByteArray> before = checksums(destination());
    const QString home = s_root->filePath(QStringLiteral("home"));
    const QString elsewhere = s_root->filePath(QStringLiteral("ailleurs"));
    QDir().mkpath(home);
    QDir().mkpath(elsewhere);
    const QString copy = home + QStringLiteral("/.local/share/Ferlin/ferlin4.sqlite");
    const QString settings = home + QStringLiteral("/.config/Ferlin/ferlin.ini");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The first-run search for the viewer walks the PATH: keep it short.
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DESTDIR"})
        environment.remove(QLatin1String(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(elsewhere);
    const auto start = [&] {
        program.start(installed(QStringLiteral("bin/ferlin")), {});
        return program.waitForStarted(30000);
    };
    const auto stop = [&] {
        program.kill();
        program.waitForFinished(30000);
    };

    // The first start copies the base (then tells the user so, and waits for them).
    ASSERT_TRUE(start());
    const bool copied = waitFor(program, [&] { return QFileInfo::exists(copy); });
    const QString output = QString::fromLocal8Bit(program.readAllStandardError());
    stop();
    ASSERT_TRUE(copied) << output.toStdString();
    EXPECT_EQ(checksums(QFileInfo(copy).absolutePath()).value(QStringLiteral("ferlin4.sqlite")),
              before.value(QStringLiteral("usr/share/ferlin/ferlin4.sqlite")));

    // A basket add, as the program makes it, lands in the copy.
    {
        FakePlatform fakes;
        AppContext context(copy, fakes.platform());
        context.catalogue.db = Database::open(copy);
        context.card.open(QStringLiteral("TArticles"));
        NoViews views;
        BasketOperations baskets(context, views);
        baskets.EmptyBasket(3);
        ASSERT_TRUE(baskets.AddToBasket(3));
    }
    const auto basket3 = [&] {
        return Database::open(copy)
            ->scalar(QStringLiteral("SELECT count(*) FROM [TSélection3]"))
            .toInt();
    };
    EXPECT_EQ(basket3(), 1);

    // The next start opens the copy: the first-run configuration gets to its save.
    ASSERT_TRUE(start());
    const bool configured = waitFor(program, [&] { return QFileInfo::exists(settings); });
    const QStringList open = openFiles(program.processId());
    stop();
    ASSERT_TRUE(configured) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(open.contains(QFileInfo(copy).canonicalFilePath()))
        << open.join(u' ').toStdString();
    EXPECT_FALSE(open.contains(
        QFileInfo(installed(QStringLiteral("share/ferlin/ferlin4.sqlite"))).canonicalFilePath()));

    EXPECT_EQ(basket3(), 1);
    EXPECT_EQ(checksums(destination()), before);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

} // namespace
