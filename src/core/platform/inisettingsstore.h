#pragma once

#include "core/platform/settingsstore.h"

namespace ferlin {

// The settings store as an INI file: each key is a section path ("Software\Ferlin" is the
// section "Software" with names "Ferlin\...") and each name one line, so the file can be read
// and edited by hand. Backslashes, quotes, line breaks and long texts are kept as they are. A
// line that cannot be read is skipped; before the file is rewritten without it, the file is kept
// beside itself as "ferlin.ini.bak".
class IniSettingsStore : public SettingsStore {
public:
    // The file in the user's configuration folder: ~/.config/Ferlin/ferlin.ini.
    static QString defaultFilePath();

    explicit IniSettingsStore(QString filePath = defaultFilePath());

    const QString &filePath() const { return m_filePath; }

    QString read(const QString &key, const QString &name) const override;
    bool write(const QString &key, const QString &name, const QString &text) override;

private:
    QString m_filePath;
    mutable bool m_unreadableLines = false; // seen in the file since it was last written
};

} // namespace ferlin
