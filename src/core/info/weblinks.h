#pragma once

#include "core/platform/platformerror.h"

#include <QString>

#include <optional>

namespace ferlin {

class ProgramLauncher;

// The links of the association screen: the web browser configured on the first configuration
// page (Settings::webBrowser) opens a web address, or the mail program behind it a "mailto:"
// address. Without a browser (an empty or blank path) nothing happens. The browser receives the
// address, trimmed, as its only argument: no shell reads it, so a path with blanks works.
// A browser that cannot be started is no failure of the program: the error is caught and handed
// back so that the caller can tell the user.
std::optional<PlatformError> OpenWebAddress(const QString &address, const QString &browserPath,
                                            ProgramLauncher &launcher);
std::optional<PlatformError> OpenMailAddress(const QString &address, const QString &browserPath,
                                             ProgramLauncher &launcher);

// The message shown when the browser could not be started.
QString browserFailureMessage(const PlatformError &error);

} // namespace ferlin
