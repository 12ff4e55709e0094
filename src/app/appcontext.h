#pragma once

#include "app/catalogue.h"
#include "app/runstate.h"
#include "platform/platform.h"

#include <QFileInfo>

namespace ferlin {

// Everything a run of the program shares: where the base is, the outside services, the run
// state and the open catalogue.
struct AppContext {
    AppContext(QString path, Platform &services) : databasePath(std::move(path)), platform(services)
    {
    }

    // The program's own folder, where its base lives.
    QString programFolder() const { return QFileInfo(databasePath).absolutePath(); }

    QString databasePath;
    Platform &platform;
    RunState state;
    Catalogue catalogue;
};

} // namespace ferlin
