#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

// The options that open a PDF at a page and look for a word there, put before the file, for the
// viewers whose options are known (evince: --page-index, --find; okular: -p, --find), named by
// the program's file name. Other viewers get none: they open the file at its start.
QStringList viewerPageOptions(const QString &viewer, int page, const QString &find);

} // namespace ferlin
