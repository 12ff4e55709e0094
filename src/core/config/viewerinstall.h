#pragma once

#include "core/platform/platform.h"

#include <QString>

namespace ferlin {

// The program that opens the PDF viewer's installer as the desktop would open it on a double
// click (the installer on the disc is not a program this system runs by itself).
inline const QString InstallerOpener = QStringLiteral("xdg-open");
// The installer on CD-ROM n° 1, below the disc's root, as the disc writes it.
inline const QString ViewerInstallerOnDisc = QStringLiteral("Acrobat4\\Rs40fre.exe");

// "Installer Acrobat Reader": asks for CD-ROM n° 1 in the drive, waits for the right disc, then
// starts the installer it holds without waiting for it. Says why when it cannot.
void InstallPdfViewer(const QString &cdDrive, Platform &platform);

} // namespace ferlin
