#pragma once

#include "core/context/appcontext.h"
#include "gui/baskets/basketlist.h"
#include "gui/record/recordcard.h"
#include "gui/shell/countlabels.h"
#include "gui/shell/screenhost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace ferlin {

class HelpWindow;
class IntroScreen;
class QuitDialog;
class StartupListener;

// The main window (form Comen1): a frame that holds the screens as maximised child windows,
// with the command bar Toolbar1 and a "Fenêtres" menu to switch between open screens.
// It leaves only through the quit dialog, unless the start-up failed.
class MainWindow : public QMainWindow, public ScreenHost {
    Q_OBJECT
public:
    explicit MainWindow(AppContext &context, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The command-bar buttons from left to right.
    static const QStringList &commandNames();

    // The load of the main window: the run state, the progress screen, then the start-up.
    void load();
    bool startupSucceeded() const { return m_startupSucceeded; }

    // The form name of a screen, its object name.
    static QString screenName(Screen screen);

    // ScreenHost
    AppContext &context() override { return m_context; }
    QWidget *dialogParent() override { return this; }
    bool show(Screen screen) override { return showScreen(screenName(screen)); }
    using QMainWindow::show;
    bool isBuilt(Screen screen) const override { return isScreenBuilt(screenName(screen)); }
    RecordCard *card() override;
    BasketList *basketList() override;
    ConfigurationPage *configurationPage() override;
    TextLocationPage *textLocationPage() override;
    void publishCounts() override;
    void setCommandsEnabled(bool enabled) override;
    void addStartupListener(StartupListener *listener) override;
    void showHelpPage(const QString &page) override;
    void showHelp() { showHelpPage(QStringLiteral("index")); }

    IntroScreen *intro() const { return m_intro; }
    QuitDialog *quitDialog() const { return m_quit; }
    QToolBar *commandBar() const { return m_toolbar; }
    QToolButton *commandButton(const QString &name) const;

    // Child screens, reached by their form name. A screen is registered with the function that
    // builds it and is built once, the first time it is needed, then reused: the start-up
    // writes into the run state, which a screen shows when it is built.
    using ScreenFactory = std::function<QWidget *()>;
    // `openedByStartup`: one of the screens the start-up writes into, listed among the open
    // child windows once it has run.
    void registerScreen(Screen screen, const QString &title, ScreenFactory factory,
                        bool openedByStartup = false);
    // Puts a screen already built in the frame.
    void addScreen(QWidget *screen);
    // The screen, built if needed; nullptr when no such screen is registered.
    QWidget *screen(const QString &name);
    template <typename T> T *screenAs(const QString &name)
    {
        return qobject_cast<T *>(screen(name));
    }
    bool isScreenBuilt(const QString &name) const { return m_screens.contains(name); }
    // Brings a screen to the front, maximised. False when no such screen exists.
    bool showScreen(const QString &name);

    // Wires a command-bar button; a button stays disabled until its command exists.
    void setCommand(const QString &buttonName, std::function<void()> action);
    bool isCommandEnabled(const QString &buttonName) const;

    // The screens that the start-up writes into, and every basket count label.
    // A screen built before the start-up has run is told of each step as it ends.
    const std::vector<StartupListener *> &startupListeners() const { return m_listeners; }
    CountLabels &countLabels() override { return m_countLabels; }
    const CountLabels &countLabels() const { return m_countLabels; }

    // The first-run configuration, plugged in by the configuration pages.
    void setFirstRunConfiguration(std::function<void()> run) { m_firstRun = std::move(run); }
    const std::function<void()> &firstRunConfiguration() const { return m_firstRun; }

    // The "Outils" menu, for the tools that go beyond the catalogue's own commands; shown once
    // the start-up has succeeded, when it holds an action.
    QMenu *toolsMenu() const { return m_toolsMenu; }

    // Used by the start-up.
    void showSuccessCommands();
    void showCommandBar();
    void startupEnded(bool succeeded);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildCommandBar();
    void buildWindowMenu();
    void fillWindowMenu();
    void askToQuit();
    void quit();
    void openTextEditor();

    AppContext &m_context;
    QMdiArea *m_area;
    QToolBar *m_toolbar;
    QMenu *m_windowMenu = nullptr;
    QMenu *m_toolsMenu = nullptr;
    IntroScreen *m_intro;
    QuitDialog *m_quit;
    HelpWindow *m_help = nullptr;
    QHash<QString, QAction *> m_commandActions;
    QHash<QString, QToolButton *> m_commandButtons;
    QHash<QString, std::function<void()>> m_commands;
    struct Registered {
        QString title;
        ScreenFactory factory;
        bool openedByStartup;
    };
    QHash<QString, QMdiSubWindow *> m_screens;
    QHash<QString, Registered> m_registered;
    QStringList m_registrationOrder;
    std::vector<StartupListener *> m_listeners;
    CountLabels m_countLabels;
    std::function<void()> m_firstRun;
    QPointer<QMdiSubWindow> m_pendingFront; // brought forward while the frame was not active
    bool m_loaded = false;
    bool m_startupSucceeded = false;
    bool m_startupFailed = false;
    bool m_quitting = false;
};

} // namespace ferlin
