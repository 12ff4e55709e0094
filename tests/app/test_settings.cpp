#include "core/context/settingsio.h"
#include "fakes/fakemessagebox.h"
#include "fakes/fakesettingsstore.h"

#include <gtest/gtest.h>

#include <utility>

using namespace ferlin;

namespace {

// A store holding a complete, valid configuration.
void storeConfigured(FakeSettingsStore &store)
{
    store.setValue(QStringLiteral("Startup"), QStringLiteral("1"));
    store.setValue(QStringLiteral("TextesRecopies"), QStringLiteral("O"));
    store.setValue(QStringLiteral("LecteurCD"), QStringLiteral("/media/cdrom"));
    store.setValue(QStringLiteral("CheminHD"), QStringLiteral("/home/prof/Ferlin "));
    store.setValue(QStringLiteral("LecteurPDF"), QStringLiteral("/usr/bin/evince"));
    store.setValue(QStringLiteral("LecteurHTM"), QStringLiteral("/usr/bin/firefox"));
    store.setValue(QStringLiteral("TextesHD"), QStringLiteral("False"));
    store.setValue(QStringLiteral("TextesCD"), QStringLiteral("True"));
    for (const QString &name : Settings::printFieldNames())
        store.setValue(name, QStringLiteral("1"));
}

} // namespace

TEST(LoadSettings, StartupOtherThanOneStopsAfterIt)
{
    for (const char *startup : {"0", "2"}) {
        FakeSettingsStore store;
        storeConfigured(store);
        store.setValue(QStringLiteral("Startup"), QString::fromLatin1(startup));
        Settings settings;
        EXPECT_FALSE(LoadSettings(store, settings).failed);
        EXPECT_EQ(settings.configuredFlag, QString::fromLatin1(startup).toInt());
        // Nothing else was loaded.
        EXPECT_EQ(settings.pdfViewer, Settings::DefaultProgram);
        EXPECT_EQ(settings.cdDrive, Settings::DefaultCdDrive);
        EXPECT_TRUE(settings.textsOnCd);
        EXPECT_EQ(settings.printFields[0], 0);
    }
}

TEST(LoadSettings, AMissingOrNonNumericStartupFailsAsAFirstRun)
{
    for (const char *startup : {"", "abc"}) {
        FakeSettingsStore store;
        if (*startup)
            store.setValue(QStringLiteral("Startup"), QString::fromLatin1(startup));
        Settings settings;
        settings.webBrowser = QStringLiteral("/opt/navigateur");
        const LoadOutcome outcome = LoadSettings(store, settings);
        EXPECT_TRUE(outcome.failed);
        EXPECT_EQ(outcome.failedValue, QStringLiteral("Startup"));
        EXPECT_EQ(settings.configuredFlag, 0);
        EXPECT_EQ(settings.webBrowser, Settings::DefaultProgram);
    }
}

TEST(LoadSettings, ReadsEveryValueOfAConfiguredProgram)
{
    FakeSettingsStore store;
    storeConfigured(store);
    store.setValue(QStringLiteral("TextesRecopies"), QStringLiteral("Oui"));
    Settings settings;
    EXPECT_FALSE(LoadSettings(store, settings).failed);
    EXPECT_EQ(settings.configuredFlag, 1);
    EXPECT_EQ(settings.textsCopied, u'O');
    EXPECT_EQ(settings.cdDrive, QStringLiteral("/media/cdrom"));
    EXPECT_EQ(settings.hardDiskFolder, QStringLiteral("/home/prof/Ferlin "));
    EXPECT_EQ(settings.pdfViewer, QStringLiteral("/usr/bin/evince"));
    EXPECT_EQ(settings.webBrowser, QStringLiteral("/usr/bin/firefox"));
    EXPECT_FALSE(settings.textsOnCd);
    EXPECT_TRUE(settings.textsOnHardDisk);
    for (int value : settings.printFields)
        EXPECT_EQ(value, 1);

    store.setValue(QStringLiteral("TextesRecopies"), QString());
    store.setValue(QStringLiteral("TextesHD"), QStringLiteral("True"));
    EXPECT_FALSE(LoadSettings(store, settings).failed);
    EXPECT_EQ(settings.textsCopied, u' '); // the start-up turns it into "N"
    // Both options stored as selected: the second one read wins.
    EXPECT_FALSE(settings.textsOnCd);
    EXPECT_TRUE(settings.textsOnHardDisk);
}

TEST(LoadSettings, StopsAtTheFirstValueThatDoesNotConvert)
{
    FakeSettingsStore store;
    storeConfigured(store);
    store.setValue(QStringLiteral("TextesHD"), QString());
    Settings settings;
    LoadOutcome outcome = LoadSettings(store, settings);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.failedValue, QStringLiteral("TextesHD"));
    // Values read before the failure are in force, the browser has its fallback.
    EXPECT_EQ(settings.pdfViewer, QStringLiteral("/usr/bin/evince"));
    EXPECT_EQ(settings.webBrowser, Settings::DefaultProgram);
    EXPECT_TRUE(settings.textsOnCd);
    EXPECT_EQ(settings.printFields[0], 0);

    FakeSettingsStore prn;
    storeConfigured(prn);
    prn.setValue(QStringLiteral("Prn_Mois"), QStringLiteral("3"));
    Settings partial;
    outcome = LoadSettings(prn, partial);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.failedValue, QStringLiteral("Prn_Mois"));
    EXPECT_EQ(partial.printFields[Settings::PrnAn], 1);
    EXPECT_EQ(partial.printFields[Settings::PrnMois], 0);
    EXPECT_EQ(partial.printFields[Settings::PrnPage], 0);
}

TEST(SaveSettings, WritesEveryValueInOrderAndReadsBackTrimmed)
{
    FakeSettingsStore store;
    FakeMessageBox messages;
    Settings settings;
    settings.configuredFlag = 0;
    settings.textsCopied = u'O';
    settings.cdDrive = QStringLiteral("  /media/cdrom ");
    settings.pdfViewer = QStringLiteral(" /usr/bin/evince ");
    settings.webBrowser = QStringLiteral("/usr/bin/firefox  ");
    settings.hardDiskFolder = QStringLiteral(" /home/prof/Mes textes ");
    settings.setTextsOnHardDisk(true);
    settings.printFields[Settings::PrnResume] = 2;
    settings.ignoreAccents = true;

    SaveSettings(store, messages, settings, /*configLoaded=*/false);
    EXPECT_TRUE(store.writes().isEmpty());

    SaveSettings(store, messages, settings, true);
    QStringList expected = {QStringLiteral("Startup"),    QStringLiteral("LecteurCD"),
                            QStringLiteral("LecteurPDF"), QStringLiteral("LecteurHTM"),
                            QStringLiteral("CheminHD"),   QStringLiteral("TextesHD"),
                            QStringLiteral("TextesCD"),   QStringLiteral("TextesRecopies")};
    for (const QString &name : Settings::printFieldNames())
        expected << name;
    expected << QStringLiteral("IgnorerAccents");
    EXPECT_EQ(store.writtenNames(), expected);
    EXPECT_EQ(store.read(Settings::Key, QStringLiteral("IgnorerAccents")), QStringLiteral("1"));
    EXPECT_TRUE(messages.messages().isEmpty());

    Settings reloaded;
    EXPECT_FALSE(LoadSettings(store, reloaded).failed);
    EXPECT_EQ(reloaded.configuredFlag, 1);
    EXPECT_EQ(reloaded.textsCopied, u'O');
    EXPECT_EQ(reloaded.cdDrive, QStringLiteral("/media/cdrom"));
    EXPECT_EQ(reloaded.pdfViewer, QStringLiteral("/usr/bin/evince"));
    EXPECT_EQ(reloaded.webBrowser, QStringLiteral("/usr/bin/firefox"));
    EXPECT_EQ(reloaded.hardDiskFolder, QStringLiteral(" /home/prof/Mes textes "));
    EXPECT_TRUE(reloaded.textsOnHardDisk);
    EXPECT_FALSE(reloaded.textsOnCd);
    EXPECT_EQ(reloaded.printFields, settings.printFields);
    EXPECT_TRUE(reloaded.ignoreAccents);
}

TEST(LoadSettings, AccentsCountUnlessIgnorerAccentsIsStoredTrue)
{
    // Missing: a configuration saved before the setting existed.
    const std::pair<const char *, bool> cases[] = {
        {nullptr, false}, {"0", false}, {"1", true}, {"True", true}, {"peut-être", false}};
    for (const auto &[stored, expected] : cases) {
        FakeSettingsStore store;
        storeConfigured(store);
        if (stored)
            store.setValue(QStringLiteral("IgnorerAccents"), QString::fromUtf8(stored));
        Settings settings;
        EXPECT_FALSE(LoadSettings(store, settings).failed);
        EXPECT_EQ(settings.ignoreAccents, expected) << (stored ? stored : "missing");
    }
}

TEST(SaveSettings, AStoreThatCannotBeWrittenSaysSoForEachValue)
{
    FakeSettingsStore store;
    store.setWritable(false);
    FakeMessageBox messages;
    SaveSettings(store, messages, Settings(), true);
    ASSERT_EQ(messages.messages().size(), 9 + Settings::PrintFieldCount);
    const RecordedMessage &m = messages.messages().front();
    EXPECT_EQ(m.text, QStringLiteral("Vous n'avez pas les privilèges requis pour effectuer cette "
                                     "opération!"));
    EXPECT_EQ(m.shownTitle(), QStringLiteral("Base de registre"));
    EXPECT_EQ(m.icon, MessageIcon::Critical);
    EXPECT_FALSE(store.hasValue(Settings::Key, QStringLiteral("Startup")));
}

TEST(StoredConversions, FollowTheOriginalRules)
{
    EXPECT_EQ(storedInteger(QStringLiteral(" 1 ")), 1);
    EXPECT_EQ(storedInteger(QStringLiteral("2.5")), 2);
    EXPECT_EQ(storedInteger(QStringLiteral("1,5")), 2);
    EXPECT_FALSE(storedInteger(QStringLiteral("40000")));
    EXPECT_FALSE(storedInteger(QString()));
    EXPECT_EQ(storedBoolean(booleanText(true)), true);
    EXPECT_EQ(storedBoolean(booleanText(false)), false);
    EXPECT_EQ(storedBoolean(QStringLiteral("Vrai")), true);
    EXPECT_EQ(storedBoolean(QStringLiteral("-1")), true);
    EXPECT_FALSE(storedBoolean(QStringLiteral("peut-être")));
}
