#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace ferlin::sample {

struct Options {
    quint32 seed = 1;
    int references = 6773;  // rows of TArticles, at least 1
    bool writeTexts = true; // the two disc folders with one PDF per full text
};

// What a generation wrote.
struct Summary {
    int references = 0;
    int firstYear = 0;
    int lastYear = 0;
    int bulletins = 0;                // distinct bulletin numbers used
    int indexed = 0;                  // rows with Domaine, PointdeVue, Niveaux and MotsCles
    int withSummary = 0;              // rows with a Resume
    int withText = 0;                 // rows with a TexteIntegral
    std::array<int, 2> textsOnDisc{}; // Localisation "1" and "2"
    int keywords = 0;                 // TClés
    int seeAlso = 0;                  // TVoir
    int authors = 0;                  // TAuteurs
    int pointsOfView = 0;
    int domains = 0;
    int stateBands = 0; // TEtatbase
    int pdfFiles = 0;
    qint64 pdfBytes = 0;
};

// The seven characters before the backslash of every TexteIntegral ("FERLIN4\Textes\...").
inline constexpr const char *TextPrefix = "FERLIN4";
// The stand-in for the PDF viewer's installer on disc 1: FERLIN4_1/Acrobat4/Rs40fre.exe.
inline constexpr const char *ViewerInstallerFolder = "Acrobat4";
inline constexpr const char *ViewerInstallerFile = "Rs40fre.exe";
// MajDate of every row (15/04/2003).
inline constexpr const char *UpdateDateText = "2003-04-15";
// The colours of TEtatbase (red in the low byte).
inline constexpr quint32 Green = 0x00FF00;
inline constexpr quint32 Yellow = 0x00FFFF;
inline constexpr quint32 Red = 0x0000FF;

// Writes folder/ferlin4.sqlite and, with texts, the disc folders folder/FERLIN4_1/Textes/...
// (with the viewer installer's stand-in) and folder/FERLIN4_2/Textes/..., creating the folder
// if needed. The same seed and size give the same content on every platform. An existing base
// and disc folders are replaced only once the new ones are complete; without texts, existing disc
// folders are removed. Throws DbError on a database failure and std::runtime_error on any other.
Summary generate(const QString &folder, const Options &options);

} // namespace ferlin::sample
