#include "core/output/citationstyles.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <algorithm>

namespace ferlin {

namespace {

const QString StyleSuffix = QStringLiteral(".csl");

} // namespace

const std::vector<FeaturedStyle> &featuredStyles()
{
    static const std::vector<FeaturedStyle> styles = {
        {QStringLiteral("apa"), QStringLiteral("APA 7e édition")},
        {QStringLiteral("iso690-author-date-fr"), QStringLiteral("ISO 690 auteur-date (français)")},
        {QStringLiteral("iso690-numeric-fr"), QStringLiteral("ISO 690 numérique (français)")},
        {QStringLiteral("chicago-author-date"), QStringLiteral("Chicago auteur-date")},
    };
    return styles;
}

QStringList citationStyleFolders()
{
    QStringList folders;
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("citation-style-language/styles"));
    folders.removeDuplicates();
    return folders;
}

bool hasCitationStyles(const QStringList &folders)
{
    return std::any_of(folders.begin(), folders.end(), [](const QString &folder) {
        return !QDir(folder).entryList({QStringLiteral("*.csl")}, QDir::Files).isEmpty();
    });
}

std::optional<QString> citationStyleFile(const QString &name, const QStringList &folders)
{
    QString file = name.trimmed();
    if (!file.endsWith(StyleSuffix, Qt::CaseInsensitive))
        file += StyleSuffix;
    if (file.size() == StyleSuffix.size() || file.contains(u'/') || file.startsWith(u'.'))
        return std::nullopt;
    for (const QString &folder : folders) {
        const QFileInfo info(QDir(folder).filePath(file));
        if (info.isFile())
            return info.filePath();
    }
    return std::nullopt;
}

QString citationStyleTitle(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    // The title stands in the style's info, at its head: the reader stops there.
    QXmlStreamReader xml(&in);
    int depth = 0;
    bool inInfo = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2 && xml.name() == QLatin1String("info"))
                inInfo = true;
            else if (depth == 2)
                return {}; // past the info
            else if (inInfo && depth == 3 && xml.name() == QLatin1String("title"))
                return xml.readElementText().simplified();
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 2 && inInfo)
                return {};
            --depth;
        }
    }
    return {};
}

std::vector<CitationStyle> installedCitationStyles(const QStringList &folders)
{
    QHash<QString, QString> files; // by name, the first folder's
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &entry : dir.entryList({QStringLiteral("*.csl")}, QDir::Files)) {
            const QString name = entry.chopped(StyleSuffix.size());
            if (!files.contains(name))
                files.insert(name, dir.filePath(entry));
        }
    }
    std::vector<CitationStyle> styles;
    for (const FeaturedStyle &featured : featuredStyles()) {
        const auto file = files.constFind(featured.name);
        if (file == files.cend())
            continue;
        styles.push_back({featured.name, featured.caption, *file});
        files.erase(file);
    }
    std::vector<CitationStyle> others;
    others.reserve(size_t(files.size()));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QString title = citationStyleTitle(*it);
        others.push_back({it.key(), title.isEmpty() ? it.key() : title, *it});
    }
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(others.begin(), others.end(), [&](const CitationStyle &a, const CitationStyle &b) {
        const int order = collator.compare(a.caption, b.caption);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    styles.insert(styles.end(), others.begin(), others.end());
    return styles;
}

} // namespace ferlin
