#include "core/platform/storedpath.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace ferlin {

namespace {

QString joined(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool sameNameIgnoringCase(const QString &a, const QString &b)
{
    return QString::compare(a.normalized(QString::NormalizationForm_C),
                            b.normalized(QString::NormalizationForm_C), Qt::CaseInsensitive) == 0;
}

// The entry of a folder whose name is the part: the exact name first, then the first name
// (in sorted order) equal to it without regard to case. Empty text when none.
QString matchingEntry(const QString &folder, const QString &part)
{
    if (QFileInfo::exists(joined(folder, part)))
        return part;
    const QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (sameNameIgnoringCase(name, part))
            return name;
    }
    return {};
}

} // namespace

QString resolveStoredPath(const QString &root, const QString &storedPath)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList parts = storedPath.split(separators, Qt::SkipEmptyParts);
    parts.removeIf([](const QString &part) {
        return part == QStringLiteral(".") || part == QStringLiteral("..");
    });

    QString resolved = root.isEmpty() ? QStringLiteral("/") : root;
    for (const QString &part : parts) {
        const QString name = matchingEntry(resolved, part);
        if (name.isEmpty())
            return joined(root, parts.join(QLatin1Char('/')));
        resolved = joined(resolved, name);
    }
    return resolved;
}

bool liesInside(const QString &path, const QString &root)
{
    auto real = [](const QString &p) {
        const QString canonical = QFileInfo(p).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QDir(p).absolutePath()) : canonical;
    };
    const QString inner = real(path);
    QString outer = real(root);
    if (inner == outer)
        return true;
    if (!outer.endsWith(QLatin1Char('/')))
        outer += QLatin1Char('/');
    return inner.startsWith(outer);
}

} // namespace ferlin
