#pragma once

// What the benchmarks share: a copy of the sample base and a configured program's settings.

#include "app/mainwindow.h"
#include "app/screens.h"
#include "core/context/appcontext.h"
#include "core/context/settings.h"
#include "core/platform/settingsstore.h"
#include "gui/platform/linuxplatform.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace ferlin::bench {

// A copy, in `dir`, of the base named on the command line or of the sample base beside the
// program, so that a benchmark may change it.
inline QString copyOfBase(const QTemporaryDir &dir, const QStringList &args)
{
    const QString sample = args.size() > 1 ? args.at(1)
                                           : QCoreApplication::applicationDirPath() +
                                                 QStringLiteral("/ferlin4.sqlite");
    const QString base = dir.filePath(QStringLiteral("ferlin4.sqlite"));
    QFile::copy(sample, base);
    QFile(base).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return base;
}

// A configured program whose texts are on a hard disk: no message stops the start-up.
inline bool writeConfiguredSettings(SettingsStore &store)
{
    const QString &key = Settings::Key;
    bool ok = store.write(key, QStringLiteral("Startup"), QStringLiteral("1")) &&
              store.write(key, QStringLiteral("TextesRecopies"), QStringLiteral("O")) &&
              store.write(key, QStringLiteral("TextesHD"), QStringLiteral("False")) &&
              store.write(key, QStringLiteral("TextesCD"), QStringLiteral("True"));
    for (const QString &name : Settings::printFieldNames())
        ok = ok && store.write(key, name, QStringLiteral("0"));
    return ok;
}

// The whole program on a base, configured, its screens installed and its start-up run, with
// the Linux services (a settings file of its own in `dir`).
struct Program {
    LinuxPlatform services;
    AppContext context;
    MainWindow window;

    Program(const QTemporaryDir &dir, const QString &base)
        : services(dir.filePath(QStringLiteral("ferlin.ini"))), context(base, services.platform()),
          window(context)
    {
        writeConfiguredSettings(services.platform().settings);
        installScreens(window);
        window.resize(1280, 900);
        window.show();
        window.load();
    }
};

} // namespace ferlin::bench
