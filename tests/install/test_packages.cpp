// The two Debian packages made from this build: their names, versions and fields, lintian's
// verdict, and the program unpacked from them started as a user would.
#include "core/db/database.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Ran {
    int status = -1;
    QString output; // the standard output and error, merged
};

Ran run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(300000))
        return {-1, program + QStringLiteral(" did not end")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

QByteArray checksum(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class Packages : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "file"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                s_failure += QLatin1String(tool) + QStringLiteral(" is not installed (dpkg-dev, "
                                                                  "file) ");
        if (!s_failure.isEmpty())
            return;
        const QString cpack =
            QFileInfo(QStringLiteral(FERLIN_CMAKE)).dir().filePath(QStringLiteral("cpack"));
        const Ran made =
            run(cpack, {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                        QStringLiteral(FERLIN_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                        s_dir->filePath(QStringLiteral("deb"))});
        if (made.status != 0)
            s_failure = made.output;
        const QString architecture =
            run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).output.trimmed();
        s_program = s_dir->filePath(QStringLiteral("deb/ferlin_4.0-1_%1.deb").arg(architecture));
        s_sample = s_dir->filePath(QStringLiteral("deb/ferlin-sample_4.0-1_all.deb"));
        for (const QString &package : {s_program, s_sample})
            if (s_failure.isEmpty() &&
                run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), package, root()}).status !=
                    0)
                s_failure = QStringLiteral("cannot unpack ") + package;
    }
    static void TearDownTestSuite() { s_dir.reset(); }
    void SetUp() override
    {
        if (!s_failure.isEmpty())
            GTEST_SKIP() << "the packages could not be made: " << s_failure.toStdString();
    }

    static QString root() { return s_dir->filePath(QStringLiteral("root")); }
    static QString field(const QString &package, const char *name)
    {
        return run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), package, QLatin1String(name)})
            .output.trimmed();
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_failure, s_program, s_sample;
};

std::unique_ptr<QTemporaryDir> Packages::s_dir;
QString Packages::s_failure, Packages::s_program, Packages::s_sample;

TEST_F(Packages, TheProgramAndTheSampleAreTwoPackagesOfOneVersion)
{
    ASSERT_TRUE(QFileInfo::exists(s_program)) << s_program.toStdString();
    ASSERT_TRUE(QFileInfo::exists(s_sample)) << s_sample.toStdString();
    EXPECT_EQ(field(s_program, "Package"), QStringLiteral("ferlin"));
    EXPECT_EQ(field(s_sample, "Package"), QStringLiteral("ferlin-sample"));
    for (const QString &package : {s_program, s_sample}) {
        EXPECT_EQ(field(package, "Version"), QStringLiteral("4.0-1"));
        EXPECT_EQ(field(package, "Section"), QStringLiteral("education"));
        EXPECT_EQ(field(package, "Homepage"), QString());
        const QStringList lines = field(package, "Description").split(u'\n');
        for (const QString &line : lines)
            EXPECT_LE(line.size(), 80) << line.toStdString();
        EXPECT_TRUE(lines.front().startsWith(QStringLiteral("references of")) ||
                    lines.front().startsWith(QStringLiteral("sample base")))
            << "an English synopsis: " << lines.front().toStdString();
    }
    EXPECT_EQ(field(s_sample, "Architecture"), QStringLiteral("all"));
    EXPECT_EQ(field(s_sample, "Depends"), QStringLiteral("ferlin (= 4.0-1)"));
    EXPECT_TRUE(field(s_program, "Recommends").contains(QStringLiteral("pdf-viewer")));
    EXPECT_TRUE(field(s_program, "Recommends").contains(QStringLiteral("qt6-translations-l10n")));
    EXPECT_FALSE(field(s_program, "Depends").contains(QStringLiteral("qt6-translations-l10n")));

    // No maintainer scripts: the private module needs no ldconfig.
    const QString control = s_dir->filePath(QStringLiteral("control"));
    ASSERT_EQ(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-e"), s_program, control}).status,
              0);
    EXPECT_EQ(QDir(control).entryList(QDir::Files),
              (QStringList{QStringLiteral("control"), QStringLiteral("md5sums")}));

    for (const char *file :
         {"usr/share/ferlin/ferlin4.sqlite", "usr/share/ferlin/FERLIN4_2/Textes",
          "usr/share/doc/ferlin/copyright", "usr/share/doc/ferlin/changelog.Debian.gz",
          "usr/share/doc/ferlin-sample/copyright", "usr/share/man/man1/ferlin.1.gz",
          "usr/lib/ferlin/modules/ferlin_pdfreader.so"})
        EXPECT_TRUE(QFileInfo::exists(root() + u'/' + QLatin1String(file))) << file;
}

TEST_F(Packages, LintianFindsNoErrorNorWarning)
{
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (lintian.isEmpty())
        GTEST_SKIP() << "lintian is not installed";
    for (const QString &package : {s_program, s_sample}) {
        const Ran checked = run(lintian, {QStringLiteral("--pedantic"), package});
        QStringList faults;
        for (const QString &line : checked.output.split(u'\n'))
            if (line.startsWith(QStringLiteral("E: ")) || line.startsWith(QStringLiteral("W: ")))
                faults << line;
        EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    }
}

TEST_F(Packages, TheUnpackedProgramGivesANewUserTheSampleAndKeepsAnOldUsersBase)
{
    const QString program = root() + QStringLiteral("/usr/bin/ferlin");
    const Ran version = run(program, {QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, QStringLiteral("Ferlin 4.0\n"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        environment.remove(QLatin1String(name));
    // Starts the program for a user until a file of theirs is there (the copy of the base at a
    // first start, the configuration's save at the next), then stops it.
    const auto startUntil = [&](const QString &home, const QString &file) {
        environment.insert(QStringLiteral("HOME"), home);
        QProcess started;
        started.setProcessEnvironment(environment);
        started.start(program, {});
        QDeadlineTimer deadline(60000);
        while (!QFileInfo::exists(home + file) && !deadline.hasExpired() &&
               started.state() != QProcess::NotRunning)
            QThread::msleep(50);
        started.kill();
        started.waitForFinished(30000);
        return checksum(home + QStringLiteral("/.local/share/Ferlin/ferlin4.sqlite"));
    };
    // A user who never started the program: the sample's base is theirs.
    const QString copy = QStringLiteral("/.local/share/Ferlin/ferlin4.sqlite");
    EXPECT_EQ(startUntil(s_dir->filePath(QStringLiteral("nouveau")), copy),
              checksum(root() + QStringLiteral("/usr/share/ferlin/ferlin4.sqlite")));
    // A user of the former package: their base, baskets and all, stays theirs.
    const QString old = s_dir->filePath(QStringLiteral("ancien"));
    const QString base = old + QStringLiteral("/.local/share/Ferlin/ferlin4.sqlite");
    QDir().mkpath(QFileInfo(base).path());
    ASSERT_TRUE(QFile::copy(root() + QStringLiteral("/usr/share/ferlin/ferlin4.sqlite"), base));
    QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner);
    const auto basket3 = [&] {
        return ferlin::Database::open(base)
            ->scalar(QStringLiteral("SELECT count(*) FROM [TSélection3]"))
            .toInt();
    };
    ferlin::Database::open(base)->execute(
        QStringLiteral("INSERT INTO [TSélection3] SELECT * FROM TArticles LIMIT 2"));
    ASSERT_EQ(basket3(), 2);
    startUntil(old, QStringLiteral("/.config/Ferlin/ferlin.ini"));
    EXPECT_EQ(basket3(), 2);
}

} // namespace
