#pragma once

#include "core/context/screenid.h"
#include "core/context/settings.h"
#include "core/platform/platform.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace ferlin {

// Opens a screen by its name ("Config", "F_copie"), maximised; false when it does not exist.
using ShowScreenFunction = std::function<bool(Screen screen)>;

// The current reference's text location, as the record card holds it.
struct ArticleTextPlace {
    QString fullText; // TexteIntegral: seven characters, a backslash, the path below the disc root
    QString disc;     // Localisation: the number of the disc that carries the text
};

// The file of a reference's text in the hard-disk copy of the texts below `hardDiskFolder`:
// the stored path from the backslash after its seven leading characters ("\Textes\1998\a.pdf"),
// under its real names on disk.
QString HardDiskTextPath(const QString &hardDiskFolder, const QString &fullText);

// "Texte" of the record card: opens the reference's text in the PDF viewer, from the hard-disk
// copy or from the disc that carries it, asking for the right disc until it is in the drive or
// the user cancels. `currentCd` is the number of the disc last found in the drive; it changes
// when another disc has been asked for and found. `viewerOptions` go before the file (the
// full-text search opens a page with them); the card gives none.
void OpenArticleText(const Settings &settings, int &currentCd, const ArticleTextPlace &place,
                     Platform &platform, const ShowScreenFunction &showScreen,
                     const QStringList &viewerOptions = {});

// "Rechercher directement dans les textes" of the main window: starts the viewer named by
// `viewerText` without a document.
void OpenViewerAlone(const QString &viewerText, Platform &platform,
                     const ShowScreenFunction &showScreen);

} // namespace ferlin
