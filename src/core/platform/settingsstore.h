#pragma once

#include <QString>

namespace ferlin {

// The program's text values, each under a key and a name ("Software\Ferlin", "LecteurCD").
class SettingsStore {
public:
    // The key under which the program keeps its configuration.
    static QString ferlinKey() { return QStringLiteral("Software\\Ferlin"); }

    virtual ~SettingsStore() = default;

    // The stored text, whole whatever its length; empty text when the value or the key is
    // missing or cannot be read.
    virtual QString read(const QString &key, const QString &name) const = 0;
    // Stores the text; false when the store cannot be written (nothing is stored then).
    virtual bool write(const QString &key, const QString &name, const QString &text) = 0;
};

} // namespace ferlin
