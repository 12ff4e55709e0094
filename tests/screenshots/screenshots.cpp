// Takes a picture of every screen and dialog of the program, started on a generated sample base
// with scripted message boxes, into the folder given (docs/screens by default). Run it through
// scripts/screenshots.sh, which gives it a virtual display.
#include "app/mainwindow.h"
#include "app/quitdialog.h"
#include "app/screens.h"
#include "catalogue.h"
#include "core/db/database.h"
#include "core/fulltext/textindex.h"
#include "fakes/fakeplatform.h"
#include "gui/config/configpage.h"
#include "gui/config/textcopyframe.h"
#include "gui/config/textlocationpage.h"
#include "gui/fulltext/fulltextscreen.h"
#include "gui/info/aboutbox.h"
#include "samplebase.h"
#include "sampleindex.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include <cstdio>
#include <functional>

using namespace ferlin;

namespace {

class Camera {
public:
    Camera(QString folder) : m_folder(std::move(folder)) { QDir().mkpath(m_folder); }

    void take(QWidget *widget, const QString &name)
    {
        settle();
        const QString file = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        if (!widget || !widget->grab().save(file))
            std::fprintf(stderr, "failed: %s\n", qPrintable(name));
        else
            std::printf("%s\n", qPrintable(file));
    }

    // A modal dialog opened by `open`: pictured once shown, then closed.
    void takeModal(const std::function<void()> &open, const QString &name)
    {
        QTimer::singleShot(300, [this, name] {
            QWidget *dialog = QApplication::activeModalWidget();
            take(dialog, name);
            if (dialog)
                dialog->close();
        });
        open();
    }

    static void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(20);
        }
    }

private:
    QString m_folder;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    if (translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QStringLiteral("/usr/share/qt6/translations")))
        QApplication::installTranslator(&translator);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screens");

    QTemporaryDir dir;
    sample::Options options;
    options.writeTexts = false;
    sample::generate(dir.path(), options);
    FakePlatform fakes;
    for (const auto &[name, value] : std::initializer_list<std::pair<const char *, const char *>>{
             {"Startup", "1"},
             {"TextesRecopies", "O"},
             {"TextesHD", "False"},
             {"TextesCD", "True"},
             {"CheminHD", "/home/ferlin/textes"},
             {"LecteurCD", "/dev/sr0"},
             {"LecteurPDF", "/usr/bin/evince"},
             {"LecteurHTM", "/usr/bin/firefox-esr"}})
        fakes.settings.setValue(QString::fromUtf8(name), QString::fromUtf8(value));
    for (const QString &name : Settings::printFieldNames())
        fakes.settings.setValue(name, QStringLiteral("1"));
    AppContext context(QDir(dir.path()).filePath(QString::fromLatin1(Database::FileName)),
                       fakes.platform());
    MainWindow window(context);
    installScreens(window);
    window.resize(1280, 800);
    window.show();
    window.load();
    Camera camera(out);
    camera.take(&window, QStringLiteral("01-progress"));

    auto command = [&](const char *name) {
        window.commandButton(QString::fromUtf8(name))->click();
        Camera::settle();
    };
    command("Cmd_feuillette");
    camera.take(&window, QStringLiteral("02-record-card"));
    command("Cmd_selections");
    camera.take(&window, QStringLiteral("03-search"));
    QWidget *search = window.screen(QStringLiteral("Selecfr"));
    camera.takeModal(
        [&] {
            QTest::mouseClick(search->findChild<QLabel *>(QStringLiteral("Lab_cle1")),
                              Qt::LeftButton);
        },
        QStringLiteral("04-keyword-picker"));
    // Basket 1 filled from the first references of the base, to show the list and the archive.
    context.state.basketCounts[1] = context.catalogue.db->execute(
        QStringLiteral("INSERT INTO [TSélection1] SELECT * FROM TArticles WHERE Rang > 6740"));
    window.publishCounts();
    command("Cmd_voirpanier");
    camera.take(&window, QStringLiteral("05-basket-list"));
    camera.takeModal(
        [&] {
            window.screen(QStringLiteral("F_grille"))
                ->findChild<QToolButton *>(QStringLiteral("Cmd_transferts"))
                ->click();
        },
        QStringLiteral("06-transfers"));
    window.showScreen(QStringLiteral("F_print"));
    camera.take(&window, QStringLiteral("07-print"));
    command("Cmd_ArchivP");
    camera.take(&window, QStringLiteral("08-archive"));
    command("Cmd_config");
    camera.take(&window, QStringLiteral("09-configuration-page-1"));
    window.showScreen(QStringLiteral("F_copie"));
    camera.take(&window, QStringLiteral("10-configuration-page-2"));
    window.screenAs<TextLocationPage>(QStringLiteral("F_copie"))->copyFrame()->open();
    camera.take(&window, QStringLiteral("11-copy-texts"));
    command("Cmd_ORV");
    camera.take(&window, QStringLiteral("12-association"));
    command("Cmd_Sélecte");
    camera.take(&window, QStringLiteral("13-database-state"));
    // The full-text search of the "Outils" menu, over an index of the newest texts.
    sample::writeSampleTextIndex(TextIndex::pathBeside(context.databasePath),
                                 sample::Catalogue(options.seed, options.references),
                                 options.references, 400);
    window.findChild<QAction *>(QStringLiteral("Mnu_TextesIntegraux"))->trigger();
    QWidget *fullText = window.screen(FullTextScreen::Name);
    fullText->findChild<QLineEdit *>(QStringLiteral("Txt_Recherche"))
        ->setText(QStringLiteral("lentille OU miroir"));
    fullText->findChild<QPushButton *>(QStringLiteral("Cmd_Rechercher"))->click();
    camera.take(&window, QStringLiteral("18-full-text-search"));
    AboutBox *about = aboutBox(window);
    about->showModeless();
    camera.take(about, QStringLiteral("14-about"));
    about->hide();
    command("Cmd_Aide");
    camera.take(window.findChild<QWidget *>(QStringLiteral("Aide")), QStringLiteral("15-help"));
    command("Cmd_Quitte");
    camera.take(window.quitDialog(), QStringLiteral("16-quit"));
    window.quitDialog()->hide();
    window.findChild<QWidget *>(QStringLiteral("Aide"))->close();
    window.activateWindow();
    Camera::settle();
    // The first-run configuration as it ends on a machine without a viewer or a browser.
    auto *page1 = window.screenAs<ConfigurationPage>(QStringLiteral("Config"));
    page1->setProgramSearch({});
    page1->AutoConfigure();
    camera.take(&window, QStringLiteral("17-first-run-configuration"));
    return 0;
}
