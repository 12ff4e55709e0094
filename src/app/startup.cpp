#include "app/startup.h"

#include "app/introscreen.h"
#include "app/mainwindow.h"
#include "app/quitdialog.h"
#include "core/context/baselocation.h"
#include "core/context/linebreak.h"
#include "core/context/settingsio.h"
#include "core/db/catalog.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/platform/busypointer.h"
#include "core/platform/messagebox.h"
#include "core/record/cardbrowser.h"
#include "gui/shell/startuplistener.h"

#include <QGroupBox>

namespace ferlin {

Startup::Startup(MainWindow &window) : m_window(window) {}

Startup::FailureMessage Startup::failureMessage(int number, const QString &description)
{
    // The number is written with one leading blank, as the original did.
    const QString code = u' ' + QString::number(number);
    if (number == DbErrorCode::ObjectNotFound)
        return {QStringLiteral("Ouverture de la base de données impossible. Base de structure "
                               "différente. Erreur ") +
                    code,
                QStringLiteral("Ouverture avortée")};
    if (number == DbErrorCode::Cancelled)
        return {QStringLiteral("Vous avez annulé l'ouverture de toute base de données."),
                QStringLiteral("Ouverture annuléee")};
    return {QStringLiteral(" Erreur ") + code + LineBreak + description,
            QStringLiteral("Ouverture avortée")};
}

bool Startup::run()
{
    AppContext &context = m_window.context();
    BusyPointer &pointer = context.platform.busyPointer;
    try {
        pointer.showBusy();
        m_window.intro()->progressFrame()->show();
        openBase();
        {
            // These steps only read: the base's lock is taken once for all of them, and its
            // pages are mapped instead of read one call each.
            MappedReads mapped(*context.catalogue.db);
            ReadTransaction reading(*context.catalogue.db);
            loadPickLists();
            colourStateBands();
            readUpdateDate();
            countBase();
            countBaskets();
        }
        m_window.publishCounts();
        m_window.intro()->showStep(QStringLiteral("Lab_OKFin"),
                                   QStringLiteral("Ferlin est ouvert !"));
        m_window.showSuccessCommands();
        readSettings();
        if (context.state.settings.textsCopied != u'O')
            context.state.settings.textsCopied = u'N';
        finishTexts();
        for (StartupListener *l : m_window.startupListeners())
            l->colourTickedFieldBoxes();
        chooseStartPath();
        pointer.restore();
    } catch (const DbError &error) {
        pointer.restore();
        const FailureMessage message = failureMessage(error.number(), error.description());
        m_window.startupEnded(false);
        context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok, message.text,
                                         message.title);
        return false;
    }
    m_window.startupEnded(true);
    return true;
}

void Startup::openBase()
{
    AppContext &context = m_window.context();
    Catalogue &catalogue = context.catalogue;
    catalogue.db = ferlin::openBase(context.databasePath, context.readOnlyProgramFolder);
    context.state.configLoaded = true;
    m_window.intro()->showStep(QStringLiteral("Lab_DB"), QStringLiteral("Base ouverte"));
    // A base without a field of the references is refused as a base of another structure:
    // filling a basket from it would put values in the wrong fields.
    Schema::checkReferenceFields(*catalogue.db);
}

void Startup::loadPickLists()
{
    Database &db = *m_window.context().catalogue.db;
    RunState &state = m_window.context().state;
    auto load = [&](LookupList list) {
        const QStringList values = ReadLookupList(db, list);
        switch (list) {
        case LookupList::SeeAlso:
            state.seeAlsoList = values;
            break;
        case LookupList::Keywords:
            state.keywordList = values;
            break;
        case LookupList::Authors:
            state.authorList = values;
            break;
        case LookupList::PointsOfView:
            state.pointOfViewList = values;
            break;
        case LookupList::Domains:
            state.domainList = values;
            break;
        }
        for (StartupListener *l : m_window.startupListeners())
            l->lookupListLoaded(list, values);
    };
    IntroScreen *intro = m_window.intro();
    load(LookupList::SeeAlso);
    load(LookupList::Keywords);
    intro->showStep(QStringLiteral("Lab_listeclés"), QStringLiteral("Liste des clés créée"));
    load(LookupList::Authors);
    intro->showStep(QStringLiteral("Lab_ListeAuteurs"), QStringLiteral("Liste des auteurs créée"));
    load(LookupList::PointsOfView);
    intro->showStep(QStringLiteral("Lab_ListePtvue"),
                    QStringLiteral("Liste des points de vue créée"));
    load(LookupList::Domains);
    intro->showStep(QStringLiteral("Lab_Listedomaines"),
                    QStringLiteral("Liste des domaines créée"));
}

void Startup::colourStateBands()
{
    const auto rows = ReadStateBands(*m_window.context().catalogue.db);
    m_window.context().state.stateBands = rows;
    for (StartupListener *l : m_window.startupListeners())
        l->stateBandsRead(rows);
}

void Startup::readUpdateDate()
{
    // The record card's data source is reloaded: the whole table, standing on its first row.
    const QDate date = UpdateDate(m_window.context().card.open(Schema::Articles));
    if (!date.isValid())
        return;
    const QString text = formatUpdateDate(date);
    m_window.context().state.updateDate = text;
    for (StartupListener *l : m_window.startupListeners())
        l->updateDateRead(text);
    m_window.intro()->showStep(QStringLiteral("Lab_DateMAJ"),
                               QStringLiteral("Dernière mise à jour : ") + text);
}

void Startup::countBase()
{
    AppContext &context = m_window.context();
    context.state.baseCount = context.card.countBase();
    m_window.intro()->showStep(QStringLiteral("Lab_Base"),
                               QStringLiteral("La base contient ") +
                                   QString::number(context.state.baseCount) +
                                   QStringLiteral(" références"));
}

void Startup::countBaskets()
{
    AppContext &context = m_window.context();
    Catalogue &catalogue = context.catalogue;
    for (int n = 1; n <= Schema::BasketCount; ++n) {
        const int count = CountRows(catalogue.reloadSelection(Schema::basketTable(n)));
        context.state.basketCounts[n] = count;
        const QString basket = QString::number(n);
        m_window.intro()->showStep(
            QStringLiteral("Lab_P") + basket,
            count == 0
                ? QString(QStringLiteral("Le panier n° ") + basket + QStringLiteral(" est vide"))
                : QString(QStringLiteral("Références dans le panier n° ") + basket +
                          QStringLiteral(" : ") + QString::number(count)));
        for (StartupListener *l : m_window.startupListeners())
            l->basketCounted(n, count);
    }
}

void Startup::readSettings()
{
    AppContext &context = m_window.context();
    const LoadOutcome outcome = LoadSettings(context.platform.settings, context.state.settings);
    for (StartupListener *l : m_window.startupListeners())
        l->settingsLoaded(context.state.settings);
    if (outcome.failed) {
        context.platform.busyPointer.restore();
        m_window.show(Screen::Configuration);
    }
}

void Startup::finishTexts()
{
    m_window.quitDialog()->setTexts();
    m_window.context().state.startupTextsSet = true;
    for (StartupListener *l : m_window.startupListeners())
        l->setStartupTexts();
    m_window.showCommandBar();
}

void Startup::chooseStartPath()
{
    AppContext &context = m_window.context();
    const Settings &settings = context.state.settings;
    if (settings.configuredFlag != 0) {
        const bool copied = settings.textsCopied == u'O';
        for (StartupListener *l : m_window.startupListeners())
            l->textLocationKnown(copied);
        if (!copied)
            context.platform.messageBox.show(
                MessageIcon::Information, MessageButtons::Ok,
                QStringLiteral("Les textes des articles n'ont pas été copiés sur un disque dur.\r\n"
                               "Ils ne seront accessibles qu'à partir des CD-ROM."));
    } else if (m_window.firstRunConfiguration()) {
        m_window.firstRunConfiguration()();
    }
}

} // namespace ferlin
