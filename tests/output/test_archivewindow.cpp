#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/output/archivefile.h"
#include "core/output/rtfwriter.h"
#include "gui/output/archivewindow.h"
#include "gui/shell/captioncolours.h"
#include "support/programfixture.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

// The program started, the archive window opened through its command.
struct ArchiveProgram {
    test::ProgramFixture f;
    ArchiveWindow *window = nullptr;

    explicit ArchiveProgram(const std::function<void()> &beforeLoad = {})
    {
        if (beforeLoad)
            beforeLoad();
        f.window.load();
    }

    ArchiveWindow *open()
    {
        f.window.commandButton(QStringLiteral("Cmd_ArchivP"))->click();
        window = f.find<ArchiveWindow>("F_Export");
        return window;
    }

    // A control of the archive window itself: the print screen has controls of the same names.
    template <typename T> T *find(const char *name)
    {
        QWidget *screen = f.window.screen(QStringLiteral("F_Export"));
        return screen->template findChild<T *>(QString::fromUtf8(name));
    }

    void fillBasket(int basket, const QString &condition)
    {
        Database &db = *f.context.catalogue.db;
        db.execute(QStringLiteral("INSERT INTO [") + Schema::basketTable(basket) +
                   QStringLiteral("] SELECT * FROM TArticles WHERE ") + condition);
        RecordSet set(db, Schema::basketTable(basket));
        f.context.state.basketCounts[basket] = set.recordCount();
        f.window.publishCounts();
    }

    QCheckBox *box(PrintField field)
    {
        return find<QCheckBox>(printFieldInfo(field).boxName.toUtf8().constData());
    }
    QString name() { return find<QLabel>("Lbl_NomExport")->text(); }
    QTextEdit *text() { return find<QTextEdit>("RichTextBox1"); }
    void click(const char *name) { find<QAbstractButton>(name)->click(); }
    bool blue(QWidget *w) const { return w->palette().color(QPalette::WindowText) == CaptionOn; }
};

int settingsIndex(PrintField field)
{
    const auto &names = Settings::printFieldNames();
    return int(std::find(names.begin(), names.end(), printFieldInfo(field).settingsKey) -
               names.begin());
}

} // namespace

TEST(ArchiveWindow, OpenedMaximisedByItsCommandWithItsStartingChoices)
{
    ArchiveProgram p;
    ASSERT_TRUE(p.f.window.startupSucceeded());
    ASSERT_TRUE(p.open());
    auto *frame = qobject_cast<QMdiSubWindow *>(p.window->parentWidget());
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(p.window->windowTitle(), QStringLiteral("Archivage des paniers"));
    EXPECT_TRUE(p.find<QRadioButton>("OpP_0")->isChecked());
    EXPECT_TRUE(p.find<QRadioButton>("Op_TypeEx_0")->isChecked());
    EXPECT_EQ(p.find<QRadioButton>("Op_TypeEx_3")->text(), QStringLiteral("Personnalisé"));
    EXPECT_TRUE(p.find<QGroupBox>("Frame3")->isHidden());
    EXPECT_TRUE(p.find<QPushButton>("Cmd_Coches")->isHidden());
    EXPECT_EQ(p.name(), QStringLiteral("Pas d'archive ouverte"));
    EXPECT_EQ(p.window->findChild<QLabel *>(QStringLiteral("Label22"))->text(),
              QStringLiteral("F 19"));
    for (int i = 0; i < PrintFieldCount; ++i)
        EXPECT_TRUE(p.box(PrintField(i))) << i;

    p.click("Op_TypeEx_3");
    EXPECT_FALSE(p.find<QPushButton>("Cmd_Coches")->isHidden());
    p.click("Cmd_Coches");
    EXPECT_FALSE(p.find<QGroupBox>("Frame3")->isHidden());
    p.click("Op_TypeEx_1");
    EXPECT_TRUE(p.find<QPushButton>("Cmd_Coches")->isHidden());
}

TEST(ArchiveWindow, TicksLoadedFromTheSettingsAndBlueWhenTicked)
{
    // Stored settings are read by the start-up: set them, then start a new program.
    test::ProgramFixture f;
    f.fakes.settings.setValue(QStringLiteral("Prn_Titre"), QStringLiteral("1"));
    f.fakes.settings.setValue(QStringLiteral("Prn_Resume"), QStringLiteral("1"));
    // Built before the start-up: the start-up writes into it.
    auto *window = f.window.screenAs<ArchiveWindow>(QStringLiteral("F_Export"));
    ASSERT_TRUE(window);
    f.window.load();
    EXPECT_TRUE(window->fieldBox(PrintField::Title)->isChecked());
    EXPECT_TRUE(window->fieldBox(PrintField::Summary)->isChecked());
    EXPECT_FALSE(window->fieldBox(PrintField::Author)->isChecked());
    const auto blue = [](QWidget *w) {
        return w->palette().color(QPalette::WindowText) == CaptionOn;
    };
    EXPECT_TRUE(blue(window->fieldBox(PrintField::Title)));
    EXPECT_FALSE(blue(window->fieldBox(PrintField::Author)));

    // Built after the start-up: it shows the settings too.
    ArchiveProgram late;
    late.f.context.state.settings.printFields[size_t(settingsIndex(PrintField::Volume))] = 1;
    late.open();
    EXPECT_TRUE(late.box(PrintField::Volume)->isChecked());
    EXPECT_TRUE(late.blue(late.box(PrintField::Volume)));
}

TEST(ArchiveWindow, ATickChangeReachesTheSettings)
{
    ArchiveProgram p;
    p.open();
    auto &values = p.f.context.state.settings.printFields;
    EXPECT_EQ(values[size_t(settingsIndex(PrintField::Author))], 0);
    p.box(PrintField::Author)->click();
    EXPECT_EQ(values[size_t(settingsIndex(PrintField::Author))], 1);
    EXPECT_TRUE(p.blue(p.box(PrintField::Author)));
    p.box(PrintField::Author)->click();
    EXPECT_EQ(values[size_t(settingsIndex(PrintField::Author))], 0);
    EXPECT_FALSE(p.blue(p.box(PrintField::Author)));
}

TEST(ArchiveWindow, TickAllFollowsTheSharedToggle)
{
    ArchiveProgram p;
    p.open();
    p.click("Cmd_tous");
    for (int i = 0; i < PrintDataFieldCount; ++i)
        EXPECT_TRUE(p.box(PrintField(i))->isChecked()) << i;
    EXPECT_FALSE(p.box(PrintField::Criteria)->isChecked());
    EXPECT_FALSE(p.box(PrintField::Numbering)->isChecked());
    EXPECT_EQ(p.find<QPushButton>("Cmd_tous")->text(), QStringLiteral("Décocher tous les champs"));
    EXPECT_EQ(p.f.context.state.settings.printFields[size_t(settingsIndex(PrintField::Title))], 1);

    // Turned over elsewhere (the print screen): the next press ticks again.
    p.f.context.state.tickAllToggle = false;
    p.box(PrintField::Title)->click();
    p.click("Cmd_tous");
    EXPECT_TRUE(p.box(PrintField::Title)->isChecked());
    p.click("Cmd_tous");
    for (int i = 0; i < PrintDataFieldCount; ++i)
        EXPECT_FALSE(p.box(PrintField(i))->isChecked()) << i;
    EXPECT_EQ(p.find<QPushButton>("Cmd_tous")->text(), QStringLiteral("Cocher tous les champs"));
}

TEST(ArchiveWindow, ArchiveOfASmallBasketFillsTheBox)
{
    ArchiveProgram p;
    p.fillBasket(2, QStringLiteral("Rang IN (3, 8, 15)"));
    p.open();
    p.click("OpP_1");
    p.click("Op_TypeEx_1");
    p.click("Cmd_Archive");
    EXPECT_EQ(p.name(), QStringLiteral("Archive du panier n° 2"));
    EXPECT_TRUE(p.f.fakes.messageBox.messages().isEmpty());

    RecordSet set(*p.f.context.catalogue.db, Schema::basketTable(2));
    const QString title = set.value(QStringLiteral("Titre")).toString();
    ASSERT_FALSE(title.isEmpty());
    EXPECT_TRUE(p.text()->toPlainText().contains(title));
}

TEST(ArchiveWindow, AnEmptyBasketIsReported)
{
    ArchiveProgram p;
    p.open();
    p.click("OpP_2");
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 1);
    EXPECT_EQ(p.f.fakes.messageBox.lastMessage().text,
              QStringLiteral("La panier 3 est actuellement vide"));
    EXPECT_EQ(p.f.fakes.messageBox.lastMessage().icon, MessageIcon::Critical);
    EXPECT_TRUE(p.find<QRadioButton>("OpP_2")->isChecked());

    p.click("Cmd_Archive");
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 2);
    EXPECT_EQ(p.f.fakes.messageBox.lastMessage().text, EmptyBasketArchiveMessage(3));
    EXPECT_TRUE(p.text()->toPlainText().isEmpty());
}

TEST(ArchiveWindow, ExportThenImportGivesTheSameDocument)
{
    ArchiveProgram p;
    p.open();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("archive.FRD"));
    p.text()->setHtml(QStringLiteral("<p><b>Gras</b> et <i>italique</i> : été</p>"));
    const QString before = p.text()->toPlainText();

    p.window->setExportFileProvider([] { return QString(); });
    p.click("Cmd_Exporte");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(p.name(), QStringLiteral("Pas d'archive ouverte"));

    p.window->setExportFileProvider([file] { return file; });
    p.click("Cmd_Exporte");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(p.name(), QStringLiteral("Nom de l'export : ") + file);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("{\\rtf"));

    p.text()->clear();
    p.window->setImportFileProvider([file] { return file; });
    p.click("Cmd_Importe");
    EXPECT_EQ(p.name(), QStringLiteral(" Archive importée : ") + file);
    EXPECT_EQ(p.text()->toPlainText(), before);
    QTextCursor cursor(p.text()->document());
    cursor.setPosition(2);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
}

TEST(ArchiveWindow, ADamagedFileIsRefusedAndTheDocumentKept)
{
    ArchiveProgram p;
    p.open();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("damaged.RTF"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("{\\rtf1\\ansi {\\b truncated");
    out.close();
    p.text()->setPlainText(QStringLiteral("Document en cours"));
    p.window->setImportFileProvider([file] { return file; });
    p.click("Cmd_Importe");
    EXPECT_EQ(p.text()->toPlainText(), QStringLiteral("Document en cours"));
    EXPECT_EQ(p.name(), QStringLiteral("Pas d'archive ouverte"));
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 1);
    EXPECT_TRUE(p.f.fakes.messageBox.lastMessage().text.startsWith(
        QStringLiteral("L'archive n'a pas pu être importée.")));
}

TEST(ArchiveWindow, PrintsTheSelectionOrTheWholeDocument)
{
    ArchiveProgram p;
    p.open();
    p.text()->setPlainText(QStringLiteral("Première ligne\nSeconde ligne"));
    p.click("Cmd_PrintArchive");
    ASSERT_EQ(p.f.fakes.richTextPrinter.printed().size(), 1);
    EXPECT_EQ(p.f.fakes.richTextPrinter.printed().back(),
              QStringLiteral("Première ligne\nSeconde ligne"));
    EXPECT_FALSE(p.f.fakes.richTextPrinter.lastOfferedSelection());

    QTextCursor cursor(p.text()->document());
    cursor.setPosition(0);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    p.text()->setTextCursor(cursor);
    p.click("Cmd_PrintArchive");
    ASSERT_EQ(p.f.fakes.richTextPrinter.printed().size(), 2);
    EXPECT_EQ(p.f.fakes.richTextPrinter.printed().back(), QStringLiteral("Première"));
    EXPECT_TRUE(p.f.fakes.richTextPrinter.lastOfferedSelection());

    p.f.fakes.richTextPrinter.setAccepts(false);
    p.click("Cmd_PrintArchive");
    EXPECT_EQ(p.f.fakes.richTextPrinter.printed().size(), 2);
    EXPECT_TRUE(p.f.fakes.messageBox.messages().isEmpty());
}

TEST(ArchiveWindow, BoldItalicFontAndColourApplyToTheSelection)
{
    ArchiveProgram p;
    p.open();
    p.text()->setPlainText(QStringLiteral("abcdef"));
    QTextCursor cursor(p.text()->document());
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    p.text()->setTextCursor(cursor);
    const auto formatAt = [&p](int pos) {
        QTextCursor c(p.text()->document());
        c.setPosition(pos);
        return c.charFormat();
    };
    p.click("ImageBold");
    EXPECT_EQ(formatAt(2).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(5).fontWeight(), QFont::Bold);
    p.click("ImageBold");
    EXPECT_NE(formatAt(2).fontWeight(), QFont::Bold);
    p.click("ImageItalic");
    EXPECT_TRUE(formatAt(2).fontItalic());

    p.window->setColourProvider([](const QColor &) { return QColor(Qt::red); });
    p.click("Cmd_Couleur");
    EXPECT_EQ(formatAt(2).foreground().color(), QColor(Qt::red));
    QFont font(QStringLiteral("Serif"));
    font.setPointSize(17);
    p.window->setFontProvider([font](const QFont &) { return font; });
    p.click("Cmd_Police");
    EXPECT_EQ(formatAt(2).font().pointSize(), 17);
    p.window->setFontProvider([](const QFont &) { return std::nullopt; });
    p.click("Cmd_Police");
    EXPECT_EQ(formatAt(2).font().pointSize(), 17);
}

TEST(ArchiveWindow, TheTogglesShowTheirPicturesFromTheProgramFolder)
{
    ArchiveProgram p;
    p.open();
    for (const char *name : {"ImageBold", "ImageItalic"})
        EXPECT_FALSE(p.find<QToolButton>(name)->icon().isNull()) << name;
}

TEST(ArchiveWindow, AnArchiveNamedWithoutExtensionGetsItsTypesAndAnyFileCanBeImported)
{
    ArchiveProgram p;
    p.open();
    QTemporaryDir dir;
    p.text()->setPlainText(QStringLiteral("Archive sans extension"));
    const QString file = dir.filePath(QStringLiteral("archive"));
    p.window->setExportFileProvider([file] { return file; });
    p.click("Cmd_Exporte");
    EXPECT_TRUE(QFile::exists(file + QStringLiteral(".FRD")));
    EXPECT_EQ(p.name(), QStringLiteral("Nom de l'export : ") + file + QStringLiteral(".FRD"));
    EXPECT_EQ(WithArchiveExtension(QStringLiteral("/a.b/archive."), QStringLiteral("RTF")),
              QStringLiteral("/a.b/archive.RTF"));
    EXPECT_EQ(WithArchiveExtension(QStringLiteral("/a/archive.txt"), QStringLiteral("RTF")),
              QStringLiteral("/a/archive.txt"));
    EXPECT_TRUE(
        ArchiveWindow::importFileFilter().endsWith(QStringLiteral(";;Tous les fichiers (*)")));
    EXPECT_TRUE(ArchiveWindow::importFileFilter().startsWith(ArchiveWindow::fileFilter()));
}

TEST(ArchiveWindow, AFailedExportSaysWhyAndKeepsTheFormerFile)
{
    ArchiveProgram p;
    p.open();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("absent/archive.FRD"));
    p.text()->setPlainText(QStringLiteral("Texte"));
    p.window->setExportFileProvider([file] { return file; });
    p.click("Cmd_Exporte");
    EXPECT_EQ(p.name(), QStringLiteral("Pas d'archive ouverte"));
    ASSERT_EQ(p.f.fakes.messageBox.messages().size(), 1);
    const RecordedMessage &m = p.f.fakes.messageBox.lastMessage();
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("L'archive n'a pas pu être enregistrée dans « ") +
                                  file + QStringLiteral(" ».\r\n")))
        << m.text.toStdString();
    EXPECT_GT(m.text.section(QStringLiteral("\r\n"), 1).size(), 5);
}
