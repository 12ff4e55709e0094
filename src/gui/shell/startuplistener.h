#pragma once

#include "core/context/settings.h"
#include "core/db/catalog.h"

#include <QStringList>

#include <vector>

namespace ferlin {

// A screen that the start-up writes into. Each screen overrides the steps that concern it;
// the start-up calls them in its fixed order.
class StartupListener {
public:
    virtual ~StartupListener() = default;

    virtual void lookupListLoaded(LookupList list, const QStringList &values) {}
    virtual void stateBandsRead(const std::vector<StateBandColours> &rows) {}
    virtual void updateDateRead(const QString &date) {}
    virtual void basketCounted(int basket, int count) {}
    virtual void settingsLoaded(const Settings &settings) {}
    // The texts set once the settings are loaded (configuration pages, the card's text button,
    // the card's rank line).
    virtual void setStartupTexts() {}
    // The archive window's ticked field boxes turn blue.
    virtual void colourTickedFieldBoxes() {}
    // A configured program learns where its texts are read from.
    virtual void textLocationKnown(bool textsCopied) {}
};

} // namespace ferlin
