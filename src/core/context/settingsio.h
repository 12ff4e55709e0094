#pragma once

#include "core/context/settings.h"

namespace ferlin {

class MessageBox;
class SettingsStore;

// One value under a key; empty text when it is missing.
QString ReadValue(const SettingsStore &store, const QString &key, const QString &name);
// Stores one value; when the store cannot be written, says so and stores nothing.
bool WriteValue(SettingsStore &store, MessageBox &messages, const QString &key, const QString &name,
                const QString &text);

// How a load ended. On failure the values read before the failing one are in force, the others
// kept their values, and the web browser got its fallback; the caller opens the configuration.
struct LoadOutcome {
    bool failed = false;
    QString failedValue; // the name whose text could not be converted
};

// Reads the whole configuration in its fixed order; stops quietly after "Startup" unless it
// is exactly "1".
LoadOutcome LoadSettings(const SettingsStore &store, Settings &settings);

// Writes the whole configuration in its fixed order; does nothing unless the configuration
// page has been loaded (the start-up got past opening the base).
void SaveSettings(SettingsStore &store, MessageBox &messages, const Settings &settings,
                  bool configLoaded);

} // namespace ferlin
