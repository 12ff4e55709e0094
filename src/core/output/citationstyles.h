#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace ferlin {

// ---------------------------------------------------------------------------------------------
// The citation styles (CSL) that bibliographies are formatted in: Debian's collection
// (citation-style-language-styles, /usr/share/citation-style-language/styles) and any the user
// has put in ~/.local/share/citation-style-language/styles.

// A style of the installed collection.
struct CitationStyle {
    QString name;    // the file's name without ".csl": "apa", "iso690-author-date-fr"
    QString caption; // as the lists show it: the style's French caption or its own title
    QString file;    // the file's path
};

// The styles offered first, in this order, with their French captions: "APA 7e édition" (apa),
// "ISO 690 auteur-date (français)", "ISO 690 numérique (français)", "Chicago auteur-date".
struct FeaturedStyle {
    QString name;
    QString caption;
};
const std::vector<FeaturedStyle> &featuredStyles();
// The style used before any has been chosen: APA 7.
inline const QString DefaultStyleName = QStringLiteral("apa");

// The folders looked in, the first first: "citation-style-language/styles" under the user's
// data folder and under each of the system's ($XDG_DATA_HOME, $XDG_DATA_DIRS).
QStringList citationStyleFolders();

// Whether one of the folders holds a style.
bool hasCitationStyles(const QStringList &folders);

// The file of the style named (its file name, with or without ".csl"); nothing when no folder
// holds it or the name is not a plain file name. The styles of a "dependent" subfolder are not
// looked at: each only names a parent style, which pandoc would fetch from the network.
std::optional<QString> citationStyleFile(const QString &name, const QStringList &folders);

// The title a CSL file gives itself (its info/title); empty when it has none.
QString citationStyleTitle(const QString &file);

// Every style of the folders: the featured ones that are installed first, then every other by
// its title in French alphabetical order (a style of an earlier folder hides one of the same
// name in a later one).
std::vector<CitationStyle> installedCitationStyles(const QStringList &folders);

} // namespace ferlin
