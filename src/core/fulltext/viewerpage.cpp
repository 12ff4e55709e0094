#include "core/fulltext/viewerpage.h"

#include <QFileInfo>

namespace ferlin {

QStringList viewerPageOptions(const QString &viewer, int page, const QString &find)
{
    const QString program = QFileInfo(viewer.trimmed()).fileName();
    const QString pageText = QString::number(page);
    QStringList options;
    if (program == QStringLiteral("evince")) {
        options << QStringLiteral("--page-index=") + pageText;
        if (!find.isEmpty())
            options << QStringLiteral("--find=") + find;
    } else if (program == QStringLiteral("okular")) {
        options << QStringLiteral("-p") << pageText;
        if (!find.isEmpty())
            options << QStringLiteral("--find") << find;
    }
    return options;
}

} // namespace ferlin
