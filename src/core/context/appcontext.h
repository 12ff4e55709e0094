#pragma once

#include "core/context/catalogue.h"
#include "core/context/runstate.h"
#include "core/platform/platform.h"

#include <QFileInfo>
#include <QStringList>

#include <memory>

namespace ferlin {

// Everything a run of the program shares: where the base is, the outside services, the run
// state and the open catalogue.
class CardBrowser;

struct AppContext {
    AppContext(QString path, Platform &services);
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    // The folder of the base: the program's own folder, or the user's data folder when the
    // program's folder is read-only (an installed program). The automatic copy of the texts
    // goes there.
    QString programFolder() const { return QFileInfo(databasePath).absolutePath(); }

    QString databasePath;
    // The program's folder when the base is the user's copy: a missing base names both places.
    QString readOnlyProgramFolder;
    // Where a folder named after a disc (FERLIN4_1, FERLIN4_2) stands for a CD-ROM drive with no
    // configuration: beside the program and in the user's data folder. Empty in tests.
    QStringList discFolderPlaces;
    Platform &platform;
    RunState state;
    Catalogue catalogue;

private:
    std::unique_ptr<CardBrowser> m_card;

public:
    // What the record card browses (record/cardbrowser.h).
    CardBrowser &card;
};

} // namespace ferlin
