#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <optional>

namespace ferlin {

// The configuration of the program for the whole run: the values stored under "Software\Ferlin".
// The configuration pages and the archive window show and edit it; the text access reads it.
struct Settings {
    static inline const QString Key = QStringLiteral("Software\\Ferlin");
    static inline const QString DefaultProgram = QStringLiteral("/usr/bin/xdg-open");
    static inline const QString DefaultCdDrive = QStringLiteral("/dev/sr0");

    // The archive window's field boxes, in the order they are stored.
    enum PrintField {
        PrnTitre,
        PrnSoustitre,
        PrnAuteur,
        PrnNumero,
        PrnVolume,
        PrnAn,
        PrnMois,
        PrnPage,
        PrnNbPages,
        PrnDomaine,
        PrnPtVue,
        PrnNiveau,
        PrnMotsCles,
        PrnResume,
        PrnCriteres,
        PrnNumerotation,
        PrintFieldCount
    };
    static const std::array<QString, PrintFieldCount> &printFieldNames();

    int configuredFlag = 0;              // "Startup": 0 means a first run
    QChar textsCopied = u'N';            // "TextesRecopies": 'O' once copied to a hard disk
    QString cdDrive = DefaultCdDrive;    // "LecteurCD"
    QString hardDiskFolder;              // "CheminHD": holds the copied "Textes" folder
    QString pdfViewer = DefaultProgram;  // "LecteurPDF"
    QString webBrowser = DefaultProgram; // "LecteurHTM"
    // The pair of text-location options: selecting one deselects the other.
    bool textsOnCd = true;                          // stored as "TextesHD"
    bool textsOnHardDisk = false;                   // stored as "TextesCD"
    std::array<int, PrintFieldCount> printFields{}; // 0 unticked, 1 ticked, 2 greyed
    // "IgnorerAccents": the search screen's conditions take é for e; off, searching is exact.
    bool ignoreAccents = false;

    void setTextsOnCd(bool on);
    void setTextsOnHardDisk(bool on);
};

// Conversions of stored texts, as strict as the original: a failure stops the load.
std::optional<int> storedInteger(const QString &text);  // 16-bit, rounded half to even
std::optional<bool> storedBoolean(const QString &text); // "True"/"False", "Vrai"/"Faux", numbers
QString booleanText(bool value);                        // what the save writes

} // namespace ferlin
