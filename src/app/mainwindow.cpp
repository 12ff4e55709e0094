#include "app/mainwindow.h"

#include "app/commandicons.h"
#include "app/helpwindow.h"
#include "app/introscreen.h"
#include "app/quitdialog.h"
#include "app/startup.h"
#include "core/context/settingsio.h"
#include "core/context/texteditor.h"
#include "gui/baskets/basketlist.h"
#include "gui/config/configpage.h"
#include "gui/config/textlocationpage.h"
#include "gui/record/recordcard.h"
#include "gui/shell/accessibility.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace ferlin {

namespace {

struct CommandButton {
    const char *name;
    const char *toolTip;
    bool alwaysVisible;
};

// Buttons 660 by 615 twips, 720 twips apart, at 15 twips a pixel.
constexpr QSize ButtonSize(44, 41);
constexpr int ButtonSpacing = 48 - 44;

const CommandButton Commands[] = {
    {"Cmd_config", " Configurer Ferlin ", true},
    {"Cmd_Sélecte", " Voir l'état de la base   ", false},
    {"Cmd_feuillette", " Feuilleter la base entière ", false},
    {"Cmd_selections", " Rechercher et sélectionner des références ", false},
    {"Cmd_voirpanier", " Travailler avec les paniers ", false},
    {"Cmd_ArchivP", " Archiver les paniers ", true},
    {"Cmd_Acrobat", " Rechercher directement dans les textes ", true},
    {"Cmd_Notepad", " Ouvrir le bloc note ", true},
    {"Cmd_ORV", " A propos de l'ORV  ", true},
    {"Cmd_Aide", " Ouvrir l'aide ", true},
    {"Cmd_Quitte", " Quitter ", true},
};

} // namespace

const QStringList &MainWindow::commandNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const CommandButton &c : Commands)
            list << QString::fromUtf8(c.name);
        return list;
    }();
    return names;
}

MainWindow::MainWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent), m_context(context)
{
    setObjectName(QStringLiteral("Comen1"));
    setWindowTitle(QStringLiteral("Ferlin  4.0"));
    // No close command in the title bar: the program leaves through the quit dialog.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("ZoneEcrans"));
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_area);

    buildCommandBar();
    buildWindowMenu();
    // What goes beyond the catalogue's own commands: shown once the start-up has succeeded.
    m_toolsMenu = menuBar()->addMenu(QStringLiteral("&Outils"));
    m_toolsMenu->setObjectName(QStringLiteral("Menu_Outils"));
    m_toolsMenu->menuAction()->setVisible(false);

    m_intro = new IntroScreen;
    addScreen(m_intro);
    m_quit = new QuitDialog(this);
    connect(m_quit, &QuitDialog::quitConfirmed, this, &MainWindow::quit);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &MainWindow::showHelp);

    setCommand(QStringLiteral("Cmd_Notepad"), [this] { openTextEditor(); });
    setCommand(QStringLiteral("Cmd_Aide"), [this] { showHelp(); });
    setCommand(QStringLiteral("Cmd_Quitte"), [this] { askToQuit(); });
    nameControlsForAccessibility(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildCommandBar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setWindowTitle(QStringLiteral("Commandes"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(32, 32));
    m_toolbar->layout()->setSpacing(ButtonSpacing);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    for (const CommandButton &command : Commands) {
        const QString name = QString::fromUtf8(command.name);
        auto *button = new QToolButton(m_toolbar);
        button->setObjectName(name);
        button->setToolTip(QString::fromUtf8(command.toolTip));
        button->setAccessibleName(QString::fromUtf8(command.toolTip).trimmed());
        button->setIcon(commandIcon(name));
        button->setFixedSize(ButtonSize);
        connect(button, &QToolButton::clicked, this, [this, name] {
            if (const auto action = m_commands.value(name))
                action();
        });
        QAction *action = m_toolbar->addWidget(button);
        // The action holds the button's state: a change of the action (showing it) passes its
        // enabled state on to the button.
        action->setEnabled(false);
        action->setVisible(command.alwaysVisible);
        m_commandActions.insert(name, action);
        m_commandButtons.insert(name, button);
    }
    m_toolbar->hide();
}

void MainWindow::buildWindowMenu()
{
    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Fenêtres"));
    m_windowMenu->setObjectName(QStringLiteral("Menu_Fenetres"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);
    fillWindowMenu();
}

void MainWindow::fillWindowMenu()
{
    m_windowMenu->clear();
    QAction *next = m_windowMenu->addAction(QStringLiteral("Fenêtre suivante"));
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    connect(next, &QAction::triggered, m_area, &QMdiArea::activateNextSubWindow);
    m_windowMenu->addSeparator();
    auto addItem = [this](const QString &name, const QString &title, bool current) {
        QAction *item = m_windowMenu->addAction(title);
        item->setCheckable(true);
        item->setChecked(current);
        connect(item, &QAction::triggered, this, [this, name] { showScreen(name); });
    };
    // The open child windows, then the screens the start-up opened that are not built yet.
    QStringList listed;
    const auto windows = m_area->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *window : windows) {
        if (!window->isVisible())
            continue;
        const QString name = window->widget()->objectName();
        addItem(name, window->windowTitle(), window == m_area->activeSubWindow());
        listed << name;
    }
    if (!m_startupSucceeded)
        return;
    for (const QString &name : std::as_const(m_registrationOrder)) {
        const Registered &screen = m_registered[name];
        if (screen.openedByStartup && !listed.contains(name))
            addItem(name, screen.title, false);
    }
}

QToolButton *MainWindow::commandButton(const QString &name) const
{
    return m_commandButtons.value(name);
}

void MainWindow::addScreen(QWidget *screen)
{
    if (screen->windowIcon().cacheKey() == QApplication::windowIcon().cacheKey())
        screen->setWindowIcon(programIcon());
    // Screens always fill the frame: they need no title bar of their own.
    auto *window = new QMdiSubWindow(nullptr, Qt::SubWindow | Qt::FramelessWindowHint);
    window->setWidget(screen);
    window->setObjectName(screen->objectName() + QStringLiteral("_fenetre"));
    // A screen is hidden, never destroyed, so that its choices last for the whole run.
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    // A screen is never squeezed below the size its layout needs: the frame scrolls instead.
    window->layout()->setSizeConstraint(QLayout::SetMinimumSize);
    m_area->addSubWindow(window);
    m_screens.insert(screen->objectName(), window);
    window->hide();
}

void MainWindow::registerScreen(Screen screen, const QString &title, ScreenFactory factory,
                                bool openedByStartup)
{
    const QString name = screenName(screen);
    m_registered.insert(name, Registered{title, std::move(factory), openedByStartup});
    m_registrationOrder << name;
}

QWidget *MainWindow::screen(const QString &name)
{
    if (QMdiSubWindow *window = m_screens.value(name))
        return window->widget();
    const auto it = m_registered.constFind(name);
    if (it == m_registered.constEnd())
        return nullptr;
    QWidget *built = it->factory();
    built->setObjectName(name);
    if (built->windowTitle().isEmpty())
        built->setWindowTitle(it->title);
    addScreen(built);
    return built;
}

bool MainWindow::showScreen(const QString &name)
{
    if (!screen(name))
        return false;
    QMdiSubWindow *window = m_screens.value(name);
    window->showMaximized();
    m_area->setActiveSubWindow(window);
    window->raise();
    // While a dialog or another window has the focus, the frame would bring its former screen
    // back when it is activated again: this one is put in front then.
    m_pendingFront = isActiveWindow() ? nullptr : window;
    return true;
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_pendingFront)
        return;
    // After the frame has restored its own choice.
    QTimer::singleShot(0, this, [this, front = m_pendingFront] {
        if (front && m_pendingFront == front) {
            m_pendingFront = nullptr;
            m_area->setActiveSubWindow(front);
            front->raise();
        }
    });
}

void MainWindow::setCommand(const QString &buttonName, std::function<void()> action)
{
    m_commands.insert(buttonName, std::move(action));
    if (QAction *button = m_commandActions.value(buttonName))
        button->setEnabled(true);
}

void MainWindow::setCommandsEnabled(bool enabled)
{
    for (const QString &name : commandNames())
        if (QAction *action = m_commandActions.value(name))
            action->setEnabled(enabled && m_commands.contains(name));
}

bool MainWindow::isCommandEnabled(const QString &buttonName) const
{
    const QAction *action = m_commandActions.value(buttonName);
    return action && action->isEnabled();
}

void MainWindow::addStartupListener(StartupListener *listener)
{
    m_listeners.push_back(listener);
}

void MainWindow::publishCounts()
{
    PublishBasketCounts(m_context.state.basketCounts, m_countLabels);
}

QString MainWindow::screenName(Screen screen)
{
    switch (screen) {
    case Screen::Intro:
        return QStringLiteral("Intro");
    case Screen::Card:
        return QStringLiteral("F_formul");
    case Screen::Search:
        return QStringLiteral("Selecfr");
    case Screen::BasketList:
        return QStringLiteral("F_grille");
    case Screen::Print:
        return QStringLiteral("F_print");
    case Screen::Archives:
        return QStringLiteral("F_Export");
    case Screen::Configuration:
        return QStringLiteral("Config");
    case Screen::TextLocation:
        return QStringLiteral("F_copie");
    case Screen::State:
        return QStringLiteral("F_état");
    case Screen::Association:
        return QStringLiteral("ORV");
    case Screen::FullText:
        return QStringLiteral("F_TextesIntegraux");
    }
    return {};
}

RecordCard *MainWindow::card()
{
    return qobject_cast<RecordCard *>(screen(screenName(Screen::Card)));
}

BasketList *MainWindow::basketList()
{
    return qobject_cast<BasketList *>(screen(screenName(Screen::BasketList)));
}

ConfigurationPage *MainWindow::configurationPage()
{
    return qobject_cast<ConfigurationPage *>(screen(screenName(Screen::Configuration)));
}

TextLocationPage *MainWindow::textLocationPage()
{
    return qobject_cast<TextLocationPage *>(screen(screenName(Screen::TextLocation)));
}

void MainWindow::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_context.state.initialise();
    showScreen(QStringLiteral("Intro"));
    Startup(*this).run();
}

void MainWindow::showSuccessCommands()
{
    for (const char *name : {"Cmd_feuillette", "Cmd_selections", "Cmd_Sélecte", "Cmd_voirpanier"})
        m_commandActions.value(QString::fromUtf8(name))->setVisible(true);
}

void MainWindow::showCommandBar()
{
    m_toolbar->show();
}

void MainWindow::startupEnded(bool succeeded)
{
    m_startupSucceeded = succeeded;
    m_startupFailed = !succeeded;
    m_toolsMenu->menuAction()->setVisible(succeeded && !m_toolsMenu->isEmpty());
    if (succeeded) {
        // A screen the start-up brought forward (the configuration) stays in front.
        QMdiSubWindow *front = m_area->activeSubWindow();
        // The screens the start-up wrote into are open child windows behind the progress
        // screen: those already built are shown, the others are listed in the window menu.
        for (const QString &name : std::as_const(m_registrationOrder)) {
            if (m_registered[name].openedByStartup && m_screens.contains(name))
                m_screens.value(name)->showMaximized();
        }
        const QString frontName = front ? front->widget()->objectName() : QString();
        if (frontName.isEmpty() || frontName == QStringLiteral("Intro") ||
            !m_screens.contains(frontName))
            showScreen(QStringLiteral("Intro"));
        else
            showScreen(frontName);
    }
    if (!succeeded) {
        // Without its command bar the program could not be left: the title bar's close
        // command comes back instead.
        m_toolbar->hide();
        // Changing a window's flags hides it: the progress screen with the lines reached
        // stays on screen.
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowCloseButtonHint, true);
        if (shown)
            show();
    }
    nameControlsForAccessibility(this);
}

void MainWindow::askToQuit()
{
    m_quit->show();
    m_quit->raise();
    m_quit->activateWindow();
}

void MainWindow::quit()
{
    SaveSettings(m_context.platform.settings, m_context.platform.messageBox,
                 m_context.state.settings, m_context.state.configLoaded);
    m_quitting = true;
    m_quit->hide();
    if (m_help)
        m_help->close();
    close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_quitting || !m_loaded) {
        event->accept();
        return;
    }
    if (m_startupFailed) {
        // The title bar's close command ends the program, whatever else is still open.
        event->accept();
        if (m_help)
            m_help->close();
        QCoreApplication::quit();
        return;
    }
    // The window leaves only through the quit dialog.
    event->ignore();
    if (m_startupSucceeded)
        askToQuit();
}

void MainWindow::showHelpPage(const QString &page)
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->showPage(page);
}

void MainWindow::openTextEditor()
{
    startTextEditor(m_context.platform.launcher, m_context.platform.messageBox,
                    QCoreApplication::applicationDirPath());
}

} // namespace ferlin
