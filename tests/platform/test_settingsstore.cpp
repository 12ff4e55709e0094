// The settings store in an INI file: values come back whole, and a store that cannot be
// written says so.
#include "core/platform/inisettingsstore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString Key = SettingsStore::ferlinKey();

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(IniSettingsStore, ValuesOfAnyTextAndLengthReadBackWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The configuration folder does not exist yet: the first write creates it.
    IniSettingsStore store(dir.filePath(QStringLiteral("config/Ferlin/ferlin.ini")));

    QString longPath = QStringLiteral("C:\\Program files\\Adobe\\Acrobat 4.0\\Reader\\");
    while (longPath.size() < 600)
        longPath += QStringLiteral("dossier \"cité\", n°1; a=b\\");
    const QStringList texts = {
        longPath,
        QStringLiteral("  /media/cdrom  "),
        QStringLiteral("\"entre guillemets\""),
        QStringLiteral("ligne 1\r\nligne 2"),
        QStringLiteral("@Variant(x)"),
        QStringLiteral("True"),
        QStringLiteral("a, b, c"),
        QStringLiteral("#pas un commentaire"),
        QStringLiteral("Éléments accentués"),
    };
    for (const QString &text : texts) {
        ASSERT_TRUE(store.write(Key, QStringLiteral("CheminHD"), text));
        EXPECT_EQ(store.read(Key, QStringLiteral("CheminHD")), text);
        // Another store on the same file (a new run) reads the same text.
        EXPECT_EQ(IniSettingsStore(store.filePath()).read(Key, QStringLiteral("CheminHD")), text);
    }
}

TEST(IniSettingsStore, OneLinePerNameAndMissingValuesReadEmpty)
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath(QStringLiteral("ferlin.ini")));
    EXPECT_EQ(store.read(Key, QStringLiteral("Startup")), QString());

    ASSERT_TRUE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("1")));
    ASSERT_TRUE(store.write(Key, QStringLiteral("LecteurCD"), QStringLiteral("/dev/sr0")));
    ASSERT_TRUE(store.write(Key, QStringLiteral("CheminHD"), QString()));
    ASSERT_TRUE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("0")));

    EXPECT_EQ(store.read(Key, QStringLiteral("Startup")), QStringLiteral("0"));
    EXPECT_EQ(store.read(Key, QStringLiteral("LecteurCD")), QStringLiteral("/dev/sr0"));
    EXPECT_EQ(store.read(Key, QStringLiteral("CheminHD")), QString());
    EXPECT_EQ(store.read(Key, QStringLiteral("LecteurPDF")), QString());
    EXPECT_EQ(store.read(QStringLiteral("Software\\Autre"), QStringLiteral("Startup")), QString());

    const QByteArray content = fileContent(store.filePath());
    EXPECT_EQ(content.count("Startup="), 1);
    EXPECT_TRUE(content.contains("LecteurCD=/dev/sr0"));
}

TEST(IniSettingsStore, AHandWrittenValueWithCommasReadsAsOneText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ferlin.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Software]\nFerlin\\LecteurPDF=/opt/lecteur, version 2\n");
    file.close();
    EXPECT_EQ(IniSettingsStore(path).read(Key, QStringLiteral("LecteurPDF")),
              QStringLiteral("/opt/lecteur, version 2"));
}

TEST(IniSettingsStore, AFileThatCannotBeWrittenRefusesAndKeepsNothing)
{
    QTemporaryDir dir;
    // The configuration "folder" is a plain file: nothing can ever be created below it, even
    // with every right.
    QFile blocker(dir.filePath(QStringLiteral("Ferlin")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    IniSettingsStore store(dir.filePath(QStringLiteral("Ferlin/ferlin.ini")));
    EXPECT_FALSE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("1")));
    EXPECT_FALSE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("1")));
    EXPECT_EQ(store.read(Key, QStringLiteral("Startup")), QString());
    EXPECT_EQ(IniSettingsStore(store.filePath()).read(Key, QStringLiteral("Startup")), QString());
}

TEST(IniSettingsStore, ALineThatCannotBeReadLosesNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ferlin.ini"));
    {
        IniSettingsStore store(path);
        ASSERT_TRUE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("1")));
        ASSERT_TRUE(store.write(Key, QStringLiteral("LecteurCD"), QStringLiteral("/dev/sr1")));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("[[[\n");
    file.close();
    const QByteArray damaged = fileContent(path);

    IniSettingsStore store(path);
    EXPECT_EQ(store.read(Key, QStringLiteral("Startup")), QStringLiteral("1"));
    EXPECT_EQ(store.read(Key, QStringLiteral("LecteurCD")), QStringLiteral("/dev/sr1"));
    // A write succeeds and says so; the file as it was is kept beside it.
    EXPECT_TRUE(store.write(Key, QStringLiteral("LecteurPDF"), QStringLiteral("/usr/bin/evince")));
    EXPECT_EQ(IniSettingsStore(path).read(Key, QStringLiteral("LecteurCD")),
              QStringLiteral("/dev/sr1"));
    EXPECT_EQ(IniSettingsStore(path).read(Key, QStringLiteral("LecteurPDF")),
              QStringLiteral("/usr/bin/evince"));
    EXPECT_EQ(fileContent(path + QStringLiteral(".bak")), damaged);
    EXPECT_TRUE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("1")));
    EXPECT_EQ(fileContent(path + QStringLiteral(".bak")), damaged);
}

TEST(IniSettingsStore, AGarbageFileIsWrittenOverWithoutAFalseRefusal)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ferlin.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x01\x02[\xff\xfe=]]\n[[[\n=\n");
    file.close();
    IniSettingsStore store(path);
    EXPECT_TRUE(store.write(Key, QStringLiteral("Startup"), QStringLiteral("1")));
    EXPECT_EQ(IniSettingsStore(path).read(Key, QStringLiteral("Startup")), QStringLiteral("1"));
}
