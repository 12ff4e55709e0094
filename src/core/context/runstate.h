#pragma once

#include "core/context/settings.h"
#include "core/db/catalog.h"
#include "core/record/cardstate.h"
#include "core/search/criteria.h"

#include <QStringList>

#include <QString>

#include <vector>

namespace ferlin {

// The state shared by the commands for the whole run, set when the main window loads.
struct RunState {
    static inline const QString VersionTitleText = QStringLiteral("Ferlin version 4.0 15/04/2003");
    static inline const QString VersionLabelText = QStringLiteral("Version 4.0 15/04/2003");

    QString versionTitle;  // heading of prints and archives
    QString versionLabel;  // version line of the about box
    int currentCd = 1;     // number of the disc last found in the drive
    int keywordLimit = 10; // most keywords the keyword picker accepts
    int currentBasket = 1; // basket of the list, the card in basket mode and the search
    bool tickAllToggle = false;
    int basePosition = 1; // where browsing the whole base resumes

    CardState card; // what the record card browses

    // The pick lists read at start-up, in table order, shown by the screens that use them.
    QStringList seeAlsoList;     // TVoir: the keyword picker's "voir" list
    QStringList keywordList;     // TClés: the keyword picker's list
    QStringList authorList;      // TAuteurs: the author picker
    QStringList pointOfViewList; // TPointdeVue: the search screen
    QStringList domainList;      // TDomaine: the search screen
    // The keywords chosen in the keyword picker, kept from one search to the next.
    KeywordChoice keywords;
    // The criteria standing on the search screen and its keyword captions, as the basket print
    // and the archives echo them; kept up to date by the search screen.
    SelectionCriteria searchCriteria;
    KeywordCaptions keywordCaptions;

    // The rows of TEtatbase and the base's update date ("dd/mm/yyyy"; empty when the base has
    // none), read at start-up for the database-state screen.
    std::vector<StateBandColours> stateBands;
    QString updateDate;

    int baseCount = 0;
    BasketCounts basketCounts;
    Settings settings;
    // The configuration page counts as loaded once the start-up got past opening the base;
    // only then may the settings be saved over the stored ones.
    bool configLoaded = false;
    // The start-up has set the screens' texts (its step 14): a screen built later shows them.
    bool startupTextsSet = false;

    // The run-state initialisation of the main window's load.
    void initialise()
    {
        versionTitle = VersionTitleText;
        versionLabel = VersionLabelText;
        currentCd = 1;
        keywordLimit = 10;
        currentBasket = 1;
        tickAllToggle = false;
        settings.textsCopied = u'N';
        basePosition = 1;
    }
};

} // namespace ferlin
