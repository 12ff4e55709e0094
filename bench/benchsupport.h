#pragma once

// What the benchmarks share: a copy of the sample base and a configured program's settings.

#include "app/settings.h"
#include "platform/settingsstore.h"

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
    bool ok = store.writeValue(key, QStringLiteral("Startup"), QStringLiteral("1")) &&
              store.writeValue(key, QStringLiteral("TextesRecopies"), QStringLiteral("O")) &&
              store.writeValue(key, QStringLiteral("TextesHD"), QStringLiteral("False")) &&
              store.writeValue(key, QStringLiteral("TextesCD"), QStringLiteral("True"));
    for (const QString &name : Settings::printFieldNames())
        ok = ok && store.writeValue(key, name, QStringLiteral("0"));
    return ok;
}

} // namespace ferlin::bench
