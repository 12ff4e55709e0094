#include "fuzzentries.h"
#include "fuzzinput.h"

#include "core/context/settingsio.h"
#include "core/platform/messagebox.h"
#include "core/platform/settingsstore.h"

#include <QMap>
#include <QPair>

namespace ferlin::fuzz {

namespace {

class MemoryStore : public SettingsStore {
public:
    QString read(const QString &key, const QString &name) const override
    {
        return m_values.value({key, name});
    }
    bool write(const QString &key, const QString &name, const QString &text) override
    {
        m_values.insert({key, name}, text);
        return true;
    }

private:
    QMap<QPair<QString, QString>, QString> m_values;
};

class SilentMessageBox : public MessageBox {
protected:
    MessageAnswer ask(MessageIcon, MessageButtons buttons, const QString &,
                      const std::optional<QString> &) override
    {
        return firstAnswer(buttons);
    }
};

// Every value the load reads, in its order.
QStringList StoredNames()
{
    QStringList names = {QStringLiteral("Startup"),    QStringLiteral("TextesRecopies"),
                         QStringLiteral("LecteurCD"),  QStringLiteral("CheminHD"),
                         QStringLiteral("LecteurPDF"), QStringLiteral("LecteurHTM"),
                         QStringLiteral("TextesHD"),   QStringLiteral("TextesCD")};
    for (const QString &name : Settings::printFieldNames())
        names << name;
    names << QStringLiteral("IgnorerAccents");
    return names;
}

std::string Describe(const char *what, const QString &name = {})
{
    return std::string(what) + (name.isEmpty() ? "" : " (" + name.toStdString() + ')');
}

} // namespace

std::string SettingsLoad(const std::uint8_t *data, std::size_t size)
{
    static const QStringList names = StoredNames();
    FuzzInput in(data, size);
    MemoryStore store;
    for (const QString &name : names) {
        // A zero length byte leaves the value out; the others store a text, empty ones too.
        if (in.byte() != 0)
            store.write(Settings::Key, name, in.text());
    }

    Settings loaded;
    const LoadOutcome outcome = LoadSettings(store, loaded);
    if (outcome.failed && (outcome.failedValue.isEmpty() || !names.contains(outcome.failedValue)))
        return Describe("a failed load names no value it reads", outcome.failedValue);
    if (outcome.failed && loaded.webBrowser != Settings::DefaultProgram)
        return "a failed load keeps the stored web browser";
    if (loaded.textsOnCd && loaded.textsOnHardDisk)
        return "the texts are both on the disc and on the hard disk";
    for (int value : loaded.printFields) {
        if (value < 0 || value > 2)
            return "a print field out of its three states";
    }

    // Saving what was loaded and loading it again gives the same configuration.
    MemoryStore saved;
    SilentMessageBox messages;
    SaveSettings(saved, messages, loaded, true);
    Settings again;
    const LoadOutcome second = LoadSettings(saved, again);
    if (second.failed)
        return Describe("saved settings fail to load", second.failedValue);
    if (again.configuredFlag != 1)
        return "saved settings are not marked configured";
    if (again.textsCopied != loaded.textsCopied)
        return "the copied-texts mark changes through a save";
    if (again.cdDrive != loaded.cdDrive.trimmed() ||
        again.pdfViewer != loaded.pdfViewer.trimmed() ||
        again.webBrowser != loaded.webBrowser.trimmed() ||
        again.hardDiskFolder != loaded.hardDiskFolder)
        return "a path changes through a save";
    if (again.textsOnCd != loaded.textsOnCd || again.textsOnHardDisk != loaded.textsOnHardDisk)
        return "the texts' place changes through a save";
    if (again.printFields != loaded.printFields)
        return "the print fields change through a save";
    if (again.ignoreAccents != loaded.ignoreAccents)
        return "the accent setting changes through a save";
    return {};
}

} // namespace ferlin::fuzz
