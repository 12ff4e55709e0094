// Starting programs: arguments reach the program exactly, whatever blanks and quotes they hold.
#include "core/platform/platformerror.h"
#include "core/platform/processlauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// Writes an executable shell script that lists its arguments, one a line, into the file named
// by its first argument.
QString writeArgumentLister(const QString &path)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\n"
                 "out=\"$1\"; shift\n"
                 "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.part\"\n"
                 "mv \"$out.part\" \"$out\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

int errorNumberOf(const QString &program)
{
    try {
        ProcessLauncher().start(program, {});
    } catch (const PlatformError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST(ProcessLauncher, PassesPathsWithBlanksAndQuotesAsSingleArguments)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Mes programmes l'été")));
    const QString program = writeArgumentLister(
        dir.filePath(QStringLiteral("Mes programmes l'été/lecteur \"PDF\".sh")));
    ASSERT_FALSE(program.isEmpty());
    const QString output = dir.filePath(QStringLiteral("sortie avec blancs.txt"));
    const QStringList arguments = {QStringLiteral("/home/prof/Mes textes/TEXTES/1998/A.PDF"),
                                   QStringLiteral("l'article \"cité\""), QStringLiteral("$HOME"),
                                   QStringLiteral("*"), QStringLiteral("a;b|c")};

    ProcessLauncher().start(program, QStringList{output} + arguments);

    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(output); }, 10000));
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList received =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(received, arguments);
}

TEST(ProcessLauncher, ReportsProgramsThatCannotStart)
{
    QTemporaryDir dir;
    QFile notExecutable(dir.filePath(QStringLiteral("texte.txt")));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly));
    notExecutable.close();

    EXPECT_EQ(errorNumberOf(QString()), PlatformErrorCode::BadPath);
    EXPECT_EQ(errorNumberOf(QStringLiteral("  ")), PlatformErrorCode::BadPath);
    EXPECT_EQ(errorNumberOf(dir.filePath(QStringLiteral("absent"))),
              PlatformErrorCode::FileNotFound);
    EXPECT_EQ(errorNumberOf(QStringLiteral("ferlin-programme-introuvable")),
              PlatformErrorCode::FileNotFound);
    EXPECT_EQ(errorNumberOf(notExecutable.fileName()), PlatformErrorCode::AccessError);
    EXPECT_EQ(errorNumberOf(dir.path()), PlatformErrorCode::AccessError);
    EXPECT_EQ(PlatformError(PlatformErrorCode::FileNotFound).description(),
              QStringLiteral("Fichier introuvable"));
    // A program that is not there is named, so that the file it was to open is not blamed.
    try {
        ProcessLauncher().start(QStringLiteral("/usr/bin/ferlin-ouvreur-absent"),
                                {QStringLiteral("/cd/Acrobat4/Rs40fre.exe")});
        ADD_FAILURE() << "started";
    } catch (const PlatformError &error) {
        EXPECT_EQ(error.description(),
                  QStringLiteral("Programme « /usr/bin/ferlin-ouvreur-absent » introuvable"));
    }
}
