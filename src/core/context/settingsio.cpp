#include "core/context/settingsio.h"

#include "core/platform/messagebox.h"
#include "core/platform/settingsstore.h"

namespace ferlin {

QString ReadValue(const SettingsStore &store, const QString &key, const QString &name)
{
    return store.read(key, name);
}

bool WriteValue(SettingsStore &store, MessageBox &messages, const QString &key, const QString &name,
                const QString &text)
{
    if (store.write(key, name, text))
        return true;
    messages.show(MessageIcon::Critical, MessageButtons::Ok,
                  QStringLiteral("Vous n'avez pas les privilèges requis pour effectuer cette "
                                 "opération!"),
                  QStringLiteral("Base de registre"));
    return false;
}

LoadOutcome LoadSettings(const SettingsStore &store, Settings &settings)
{
    const QString &key = Settings::Key;
    auto read = [&](const QString &name) { return ReadValue(store, key, name); };
    LoadOutcome outcome;
    auto fail = [&](const QString &name) {
        outcome.failed = true;
        outcome.failedValue = name;
        settings.webBrowser = Settings::DefaultProgram;
        return outcome;
    };

    const QString startup = QStringLiteral("Startup");
    const auto flag = storedInteger(read(startup));
    if (!flag)
        return fail(startup);
    settings.configuredFlag = *flag;
    if (read(startup) != QStringLiteral("1"))
        return outcome;

    const QString copied = read(QStringLiteral("TextesRecopies"));
    settings.textsCopied = copied.isEmpty() ? QChar(u' ') : copied.at(0);
    settings.cdDrive = read(QStringLiteral("LecteurCD"));
    settings.hardDiskFolder = read(QStringLiteral("CheminHD"));
    settings.pdfViewer = read(QStringLiteral("LecteurPDF"));
    settings.webBrowser = read(QStringLiteral("LecteurHTM"));

    const QString onCdName = QStringLiteral("TextesHD");
    const auto onCd = storedBoolean(read(onCdName));
    if (!onCd)
        return fail(onCdName);
    settings.setTextsOnCd(*onCd);
    const QString onHdName = QStringLiteral("TextesCD");
    const auto onHd = storedBoolean(read(onHdName));
    if (!onHd)
        return fail(onHdName);
    settings.setTextsOnHardDisk(*onHd);

    for (int i = 0; i < Settings::PrintFieldCount; ++i) {
        const QString &name = Settings::printFieldNames()[size_t(i)];
        const auto value = storedInteger(read(name));
        if (!value || *value < 0 || *value > 2)
            return fail(name);
        settings.printFields[size_t(i)] = *value;
    }
    // Saved after the others: a configuration stored before it existed reads as unticked.
    settings.ignoreAccents = storedBoolean(read(QStringLiteral("IgnorerAccents"))).value_or(false);
    return outcome;
}

void SaveSettings(SettingsStore &store, MessageBox &messages, const Settings &settings,
                  bool configLoaded)
{
    if (!configLoaded)
        return;
    const QString &key = Settings::Key;
    auto write = [&](const QString &name, const QString &text) {
        WriteValue(store, messages, key, name, text);
    };
    write(QStringLiteral("Startup"), QStringLiteral("1"));
    write(QStringLiteral("LecteurCD"), settings.cdDrive.trimmed());
    write(QStringLiteral("LecteurPDF"), settings.pdfViewer.trimmed());
    write(QStringLiteral("LecteurHTM"), settings.webBrowser.trimmed());
    write(QStringLiteral("CheminHD"), settings.hardDiskFolder);
    write(QStringLiteral("TextesHD"), booleanText(settings.textsOnCd));
    write(QStringLiteral("TextesCD"), booleanText(settings.textsOnHardDisk));
    write(QStringLiteral("TextesRecopies"), QString(settings.textsCopied));
    for (int i = 0; i < Settings::PrintFieldCount; ++i)
        write(Settings::printFieldNames()[size_t(i)],
              QString::number(settings.printFields[size_t(i)]));
    write(QStringLiteral("IgnorerAccents"),
          settings.ignoreAccents ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace ferlin
