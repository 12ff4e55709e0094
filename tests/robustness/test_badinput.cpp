// Hostile input everywhere the program takes some: characters with a meaning in SQL or in
// patterns in every search criterion, huge, empty and broken references in the base, damaged,
// read-only and locked base files, a full disk, garbage settings, and broken archive files.
// Each case works or gives a clear French message, and loses nothing.
#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/platform/linuxdrives.h"
#include "core/platform/localfilesystem.h"
#include "core/record/textaccess.h"
#include "core/search/runsearch.h"
#include "gui/output/archivewindow.h"
#include "gui/output/printscreen.h"
#include "gui/record/recordcard.h"
#include "support/programfixture.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <sqlite3.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// Values that mean something to SQL, to the Jet patterns or to a shell.
const QStringList HostileValues = {
    QStringLiteral("l'école"),
    QStringLiteral("\"guillemets\""),
    QStringLiteral("''"),
    QStringLiteral("50 % *"),
    QStringLiteral("a?b#"),
    QStringLiteral("[crochet]"),
    QStringLiteral("[!x]"),
    QStringLiteral("]"),
    QStringLiteral("["),
    QStringLiteral("\\"),
    QStringLiteral("'; DROP TABLE TArticles; --"),
    QStringLiteral("\" OR \"\"=\""),
    QStringLiteral("$(rm -rf ~)"),
};

const QString TypeMismatch =
    QStringLiteral("Erreur  3464\r\nType de données incompatible dans l'expression du critère.");

// Any message that reports a failure rather than a result.
bool reportsAFailure(const RecordedMessage &m)
{
    return m.text.contains(QStringLiteral("rreur")) ||
           m.shownTitle().contains(QStringLiteral("rreur"));
}

int scalar(const QString &path, const QString &sql)
{
    return Database::open(path)->scalar(sql).toInt();
}

QString integrity(const QString &path)
{
    return Database::open(path)->scalar(QStringLiteral("PRAGMA integrity_check")).toString();
}

struct Program : test::ProgramFixture {
    explicit Program(int references = 300) : ProgramFixture(references) {}

    Database &db() { return *context.catalogue.db; }
    template <typename T> T *on(const char *screen, const char *name)
    {
        return window.screen(QString::fromUtf8(screen))->findChild<T *>(QString::fromUtf8(name));
    }
    const QList<RecordedMessage> &messages() const { return fakes.messageBox.messages(); }
    // Adds the card's reference to basket 1 through the card's own buttons.
    void addShownReference()
    {
        on<QAbstractButton>("F_formul", "Cmd_AjoutSel")->click();
        on<QRadioButton>("F_formul", "Option2_0")->setChecked(true);
        on<QAbstractButton>("F_formul", "Command2")->click();
    }
    void browseTo(int position)
    {
        window.screenAs<RecordCard>(QStringLiteral("F_formul"))
            ->OpenCard(CardState::BaseMode, 0, 0, position);
    }
};

TEST(BadInput, HostileTextInEveryCriterionNeitherFailsNorChangesTheStatement)
{
    Program p;
    p.window.load();
    const int references = p.context.state.baseCount;
    SearchRunner runner(p.context,
                        {[](int) {}, [&p] { p.window.publishCounts(); }, [](int) {}, {}});
    for (const QString &value : HostileValues) {
        SCOPED_TRACE(value.toStdString());
        std::vector<std::pair<const char *, SelectionCriteria>> cases;
        auto add = [&](const char *name, auto set) {
            SelectionCriteria c;
            c.destination = 2;
            c.replace = true;
            set(c);
            cases.emplace_back(name, c);
        };
        add("years", [&](SelectionCriteria &c) {
            c.years = true;
            c.yearFrom = value;
            c.yearTo = value;
        });
        add("bulletin", [&](SelectionCriteria &c) {
            c.bulletin = true;
            c.bulletinNumber = value;
        });
        add("level", [&](SelectionCriteria &c) {
            c.level = true;
            c.levelText = value;
        });
        add("author", [&](SelectionCriteria &c) {
            c.author = true;
            c.authorText = value;
        });
        add("point of view", [&](SelectionCriteria &c) {
            c.pointOfView = true;
            c.pointOfViewText = value;
        });
        add("domain", [&](SelectionCriteria &c) {
            c.domain = true;
            c.domainText = value;
        });
        add("reference", [&](SelectionCriteria &c) {
            c.reference = true;
            c.referenceText = value;
        });
        for (bool words : {false, true})
            add("free text", [&](SelectionCriteria &c) {
                c.freeText = true;
                c.freeTextValue = value;
                c.wordMode = words;
                c.inKeywords = true;
            });
        for (const auto &[name, criteria] : cases) {
            SCOPED_TRACE(name);
            p.fakes.messageBox.clear();
            runner.RunSearch(criteria, {});
            for (const RecordedMessage &m : p.messages()) {
                // A year that is no number is a type mismatch, said as such; nothing else fails.
                if (criteria.years && m.text == TypeMismatch)
                    continue;
                EXPECT_FALSE(reportsAFailure(m)) << m.text.toStdString();
            }
        }
        KeywordChoice keywords;
        keywords.first = value;
        keywords.et = {value};
        keywords.ou = {value};
        keywords.sauf = {value};
        SelectionCriteria c;
        c.keywords = true;
        p.fakes.messageBox.clear();
        runner.RunSearch(c, keywords);
        for (const RecordedMessage &m : p.messages())
            EXPECT_FALSE(reportsAFailure(m)) << m.text.toStdString();
    }
    EXPECT_EQ(scalar(p.context.databasePath, QStringLiteral("SELECT count(*) FROM TArticles")),
              references);
    EXPECT_EQ(integrity(p.context.databasePath), QStringLiteral("ok"));
}

TEST(BadInput, HugeEmptyAndBrokenReferencesAreShownListedPrintedAndArchived)
{
    Program p;
    const QString megabyte(1 << 20, u'é');
    {
        auto db = Database::open(p.context.databasePath);
        db->executeBound(QStringLiteral("INSERT INTO TArticles (Rang, An, Titre, Resume, Auteur) "
                                        "VALUES (?, 2001, ?, ?, ?)"),
                         QVariantList{100001, QString(QStringLiteral("Grand ") + megabyte),
                                      megabyte, QStringLiteral("Auteur d'un long texte")});
        // Nothing but its number.
        db->execute(QStringLiteral("INSERT INTO TArticles (Rang) VALUES (100002)"));
        // Bytes that are not UTF-8 in the title and the authors.
        db->execute(QStringLiteral("INSERT INTO TArticles (Rang, An, Titre, Auteur) VALUES "
                                   "(100003, 1999, CAST(X'C328414220FF' AS TEXT), "
                                   "CAST(X'E28228' AS TEXT))"));
    }
    // Every field ticked for the print and the custom archive.
    for (const QString &name : Settings::printFieldNames())
        p.fakes.settings.setValue(name, QStringLiteral("1"));
    p.window.load();
    ASSERT_TRUE(p.window.startupSucceeded());
    const int count = p.context.state.baseCount;
    for (int position = count - 2; position <= count; ++position) {
        SCOPED_TRACE(position);
        p.browseTo(position);
        p.addShownReference();
    }
    EXPECT_EQ(p.context.state.basketCounts[1], 3);
    for (const RecordedMessage &m : p.messages())
        ADD_FAILURE() << m.text.toStdString();
    auto *title = p.on<QPlainTextEdit>("F_formul", "Text1");
    p.browseTo(count);
    EXPECT_TRUE(title->toPlainText().contains(QChar(QChar::ReplacementCharacter)));
    p.browseTo(count - 2);
    EXPECT_EQ(title->toPlainText().size(), megabyte.size() + 6);

    // Listed, printed and archived: every field of every type, without a failure.
    p.context.state.currentBasket = 1;
    p.window.commandButton(QStringLiteral("Cmd_voirpanier"))->click();
    p.window.showScreen(QStringLiteral("F_print"));
    auto *print = p.window.screenAs<PrintScreen>(QStringLiteral("F_print"));
    print->activate();
    p.on<QAbstractButton>("F_print", "Cmd_tous")->click(); // every field ticked
    QDialog *titleDialog = print->titleDialog();
    QTimer::singleShot(0, titleDialog, [titleDialog] {
        titleDialog->findChild<QLineEdit *>(QStringLiteral("T_Titre"))
            ->setText(QStringLiteral("Références abîmées"));
        titleDialog->findChild<QAbstractButton *>(QStringLiteral("Command2"))->click();
    });
    print->PrintBasket();
    const QStringList lines = p.fakes.linePrinter.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString &line) {
        return line.contains(QStringLiteral("Grand"));
    }));
    p.window.commandButton(QStringLiteral("Cmd_ArchivP"))->click();
    for (const char *type : {"Op_TypeEx_0", "Op_TypeEx_1", "Op_TypeEx_2", "Op_TypeEx_3"}) {
        SCOPED_TRACE(type);
        p.on<QAbstractButton>("F_Export", "OpP_0")->click();
        p.on<QAbstractButton>("F_Export", type)->click();
        p.on<QAbstractButton>("F_Export", "Cmd_Archive")->click();
        EXPECT_FALSE(p.on<QTextEdit>("F_Export", "RichTextBox1")->toPlainText().isEmpty());
    }
    for (const RecordedMessage &m : p.messages())
        EXPECT_FALSE(reportsAFailure(m)) << m.text.toStdString();
}

// A copy of the base damaged in one way, then the program started on it.
class DamagedBase : public ::testing::Test {
protected:
    Program p;
    QByteArray original;

    DamagedBase()
    {
        QFile file(p.context.databasePath);
        file.open(QIODevice::ReadOnly);
        original = file.readAll();
    }
    void write(const QByteArray &bytes)
    {
        QFile file(p.context.databasePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // The start-up ends with one French message and no command, or works.
    void expectAClearEnd()
    {
        p.window.load();
        if (p.window.startupSucceeded())
            return;
        ASSERT_EQ(p.messages().size(), 1);
        const RecordedMessage &m = p.messages().front();
        EXPECT_EQ(m.shownTitle(), QStringLiteral("Ouverture avortée"));
        // The number and the French description, or the base that is not one of ours.
        EXPECT_TRUE((m.text.startsWith(QStringLiteral(" Erreur  ")) &&
                     m.text.indexOf(QStringLiteral("\r\n")) > 0) ||
                    m.text.startsWith(QStringLiteral("Ouverture de la base de données impossible")))
            << m.text.toStdString();
        EXPECT_FALSE(p.window.commandButton(QStringLiteral("Cmd_feuillette"))->isVisible());
    }
};

TEST_F(DamagedBase, CorruptedPagesEndTheStartUpWithAMessage)
{
    QByteArray bytes = original;
    for (int i = 120; i < bytes.size() && i < 12000; i += 7)
        bytes[i] = char(0xA5);
    write(bytes);
    expectAClearEnd();
    EXPECT_FALSE(p.window.startupSucceeded());
}

TEST_F(DamagedBase, ATruncatedFileEndsTheStartUpWithAMessage)
{
    write(original.left(original.size() / 3));
    expectAClearEnd();
}

TEST_F(DamagedBase, AnEmptyFileIsNoBase)
{
    write(QByteArray());
    expectAClearEnd();
}

TEST(BadInput, AReadOnlyBaseRefusesAChangeWithAMessageAndKeepsTheBasket)
{
    Program p;
    const bool root = geteuid() == 0;
    if (!root)
        QFile(p.context.databasePath).setPermissions(QFile::ReadOwner);
    p.window.load();
    ASSERT_TRUE(p.window.startupSucceeded());
    // The superuser writes through file permissions: the connection is made read-only instead.
    if (root)
        p.db().execute(QStringLiteral("PRAGMA query_only = ON"));
    p.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    p.addShownReference();
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages().front().shownTitle(), QStringLiteral("Rapport d'erreur"));
    EXPECT_EQ(p.context.state.basketCounts[1], 0);
    QFile(p.context.databasePath).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(scalar(p.context.databasePath, QStringLiteral("SELECT count(*) FROM [TSélection1]")),
              0);
}

// Another running instance holding the base while this one works.
class OtherInstance {
public:
    explicit OtherInstance(const QString &path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
    }
    ~OtherInstance() { sqlite3_close(m_db); }
    void run(const char *sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3 *m_db = nullptr;
};

TEST(BadInput, ABaseLockedByAnotherInstanceIsToldAndWorksOnceReleased)
{
    Program p;
    p.window.load();
    p.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    {
        OtherInstance other(p.context.databasePath);
        other.run("BEGIN IMMEDIATE; INSERT INTO [TSélection3] SELECT * FROM TArticles WHERE "
                  "Rang = 1");
        p.addShownReference();
        ASSERT_EQ(p.messages().size(), 1);
        EXPECT_EQ(p.messages().front().shownTitle(), QStringLiteral("Rapport d'erreur"));
        EXPECT_EQ(p.context.state.basketCounts[1], 0);
        other.run("ROLLBACK");
    }
    p.fakes.messageBox.clear();
    p.addShownReference();
    EXPECT_TRUE(p.messages().isEmpty());
    EXPECT_EQ(p.context.state.basketCounts[1], 1);
    EXPECT_EQ(scalar(p.context.databasePath, QStringLiteral("SELECT count(*) FROM [TSélection3]")),
              0);
}

TEST(BadInput, AFullDiskWhileAddingToABasketLosesNothing)
{
    Program p;
    {
        auto db = Database::open(p.context.databasePath);
        db->executeBound(QStringLiteral("INSERT INTO TArticles (Rang, An, Titre, Resume) VALUES "
                                        "(100001, 2001, 'Long', ?)"),
                         QVariantList{QString(400000, u'x')});
    }
    p.window.load();
    p.browseTo(p.context.state.baseCount);
    // The disk holds no page more than the base has now.
    const int pages = p.db().scalar(QStringLiteral("PRAGMA page_count")).toInt();
    p.db().scalar(QStringLiteral("PRAGMA max_page_count = ") + QString::number(pages));
    p.addShownReference();
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages().front().shownTitle(), QStringLiteral("Rapport d'erreur"));
    EXPECT_EQ(p.context.state.basketCounts[1], 0);
    EXPECT_EQ(scalar(p.context.databasePath, QStringLiteral("SELECT count(*) FROM [TSélection1]")),
              0);
    EXPECT_EQ(integrity(p.context.databasePath), QStringLiteral("ok"));
}

TEST(BadInput, GarbageSettingsOpenTheConfigurationAndTheProgramRuns)
{
    Program p;
    const QString garbage = QStringLiteral("\x01\x02 ÿþ") + QString(70000, u'#') +
                            QStringLiteral("\r\n[Software\\Ferlin]") + QChar(0) + u'=';
    for (const char *name : {"TextesRecopies", "LecteurCD", "CheminHD", "LecteurPDF", "LecteurHTM",
                             "TextesHD", "TextesCD"})
        p.fakes.settings.setValue(QString::fromUtf8(name), garbage);
    p.window.load();
    ASSERT_TRUE(p.window.startupSucceeded());
    EXPECT_TRUE(p.window.isScreenBuilt(QStringLiteral("Config")));
    EXPECT_EQ(p.context.state.settings.textsCopied, u'N');
    p.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    EXPECT_TRUE(p.window.screen(QStringLiteral("F_formul"))->isVisible());
}

// An archive file given to the archive window's import.
class BrokenArchive : public ::testing::Test {
protected:
    Program p;
    QTemporaryDir dir;
    ArchiveWindow *window = nullptr;
    QTextEdit *text = nullptr;

    BrokenArchive()
    {
        p.window.load();
        p.window.commandButton(QStringLiteral("Cmd_ArchivP"))->click();
        window = p.window.screenAs<ArchiveWindow>(QStringLiteral("F_Export"));
        text = window->findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
        text->setPlainText(QStringLiteral("Document en cours"));
    }
    // Imports the bytes; true when the document was replaced, false when refused with a message.
    bool import(const QByteArray &bytes)
    {
        const QString file = dir.filePath(QStringLiteral("archive.rtf"));
        QFile out(file);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(bytes);
        out.close();
        p.fakes.messageBox.clear();
        window->setImportFileProvider([file] { return file; });
        window->findChild<QAbstractButton *>(QStringLiteral("Cmd_Importe"))->click();
        if (p.messages().isEmpty())
            return true;
        EXPECT_EQ(p.messages().size(), 1);
        EXPECT_TRUE(p.messages().front().text.startsWith(
            QStringLiteral("L'archive n'a pas pu être importée.")));
        EXPECT_EQ(text->toPlainText(), QStringLiteral("Document en cours"));
        return false;
    }
};

TEST_F(BrokenArchive, EmptyTruncatedAndUnbalancedFilesAreRefused)
{
    EXPECT_FALSE(import(QByteArray()));
    EXPECT_FALSE(import("{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0 Times;}}\\pard Bonjo"));
    EXPECT_FALSE(import("\xff\xfe\x00\x01 pas du tout un fichier RTF"));
    // Stray closing braces end nothing: the text after them is read too.
    EXPECT_TRUE(import("{\\rtf1 a}}}} b"));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("a b"));
}

TEST_F(BrokenArchive, DeepNestingAndAVeryLargeFileDoNotBreakTheProgram)
{
    QByteArray deep = "{\\rtf1\\ansi ";
    deep += QByteArray(10000, '{') + "profond" + QByteArray(10000, '}') + "}";
    if (import(deep)) {
        EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("profond")));
    }

    QByteArray large = "{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0 Times;}}";
    const QByteArray paragraph =
        "\\pard Une ligne de l'archive avec des accents \\'e9\\'e8.\\par\n";
    while (large.size() < 8 * 1024 * 1024)
        large += paragraph;
    large += "}";
    ASSERT_TRUE(import(large));
    EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("Une ligne de l'archive")));
}

// The article texts where the program cannot read them: a folder without read rights, a disc
// folder that is gone. Real drives and files, the other services faked.
class UnreadableTexts : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePlatform fakes;
    LinuxDrives drives;
    LocalFileSystem files;
    Platform platform = fakes.withDrivesAndFiles(drives, files);
    Settings settings;
    int currentCd = 1;
    const ArticleTextPlace place{QStringLiteral("FERLIN4\\Textes\\1998\\a.pdf"),
                                 QStringLiteral("1")};

    UnreadableTexts() { settings.pdfViewer = QStringLiteral("/usr/bin/evince"); }
};

TEST_F(UnreadableTexts, AFolderWithoutReadRightsOpensNothingOrSaysTheTextIsMissing)
{
    const QString texts = dir.filePath(QStringLiteral("Textes"));
    QDir().mkpath(texts + QStringLiteral("/1998"));
    QFile(texts + QStringLiteral("/1998/a.pdf")).open(QIODevice::WriteOnly);
    QFile(texts).setPermissions(QFileDevice::Permissions());
    settings.setTextsOnHardDisk(true);
    settings.hardDiskFolder = dir.path();
    OpenArticleText(settings, currentCd, place, platform, {});
    QFile(texts).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The superuser reads through the rights: the viewer gets the file.
    if (fakes.messageBox.messages().isEmpty()) {
        ASSERT_EQ(fakes.launcher.starts().size(), 1);
        EXPECT_TRUE(QFileInfo(fakes.launcher.starts().front().arguments.value(0)).isFile());
    } else {
        ASSERT_EQ(fakes.messageBox.messages().size(), 1);
        EXPECT_EQ(fakes.messageBox.lastMessage().text, QStringLiteral(" Le texte ") +
                                                           place.fullText.mid(14) +
                                                           QStringLiteral(" n'existe pas "));
        EXPECT_TRUE(fakes.launcher.starts().isEmpty());
    }
}

TEST_F(UnreadableTexts, AMissingDiscFolderAsksForTheDiscUntilCancel)
{
    settings.cdDrive = dir.filePath(QStringLiteral("cdrom-parti"));
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    OpenArticleText(settings, currentCd, place, platform, {});
    ASSERT_EQ(fakes.messageBox.messages().size(), 2);
    for (const RecordedMessage &m : fakes.messageBox.messages())
        EXPECT_TRUE(m.text.contains(QStringLiteral("Mettez le CD-ROM n° 1 dans le lecteur ") +
                                    settings.cdDrive))
            << m.text.toStdString();
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());
}

} // namespace
