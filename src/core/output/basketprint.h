#pragma once

#include "core/search/criteria.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace ferlin {

class LinePrinter;
class Database;
class RecordSet;

// ---------------------------------------------------------------------------------------------
// Wrapping long texts into printed lines.

// Longest printed line, in characters.
inline constexpr int PrintLineWidth = 112;
// A full-width piece is shortened back to its last one of these; the character stays at the end.
inline constexpr char16_t PrintBreakCharacters[] = u" .,;:?!-";

// PrintWrapped: the lines of at most 112 characters that a text prints as. A line feed starts a
// new line (a carriage return just before it is dropped with it); a full-width piece ends on its
// last break character, and one with none is cut at 112 characters. Nothing of the text is lost
// but the line breaks.
QStringList WrapForPrint(const QString &text);
// PrintWrappedFlat: every line feed becomes "/", then the text is wrapped as above.
QStringList WrapFlatForPrint(const QString &text);
// A text printed as one line, or wrapped as WrapForPrint when it is longer than a line.
QStringList OneLineForPrint(const QString &text);

// ---------------------------------------------------------------------------------------------
// The fields the basket print and the archive offer.

// One flag per tick box, in the order of the print screen.
enum class PrintField {
    Title,       // Check_titre
    Subtitle,    // Check_Soustitre
    Author,      // Check_auteur
    Bulletin,    // Check_numéro
    Volume,      // Check_volume
    Year,        // Check_An
    Month,       // Check_Mois
    Page,        // Check_Page
    PageCount,   // Check_NbPages
    Domain,      // Check_domaine
    PointOfView, // Check_PtVue
    Level,       // Check_niveau
    Keywords,    // Check_MotsCles
    Summary,     // Check_Resume
    Criteria,    // Check_criteres
    Numbering,   // Check_Num (archive window only)
};
inline constexpr int PrintFieldCount = 16;
// The fields ticked and unticked together by Cmd_tous: all but Criteria and Numbering.
inline constexpr int PrintDataFieldCount = 14;

// What a tick box is called, what it shows and where the archive window keeps it.
struct PrintFieldInfo {
    QString boxName;     // "Check_titre"
    QString caption;     // "Titre"; empty for Check_Num, which the print screen lacks
    QString field;       // the field of the reference printed; empty for the last two
    QString settingsKey; // "Prn_Titre"
};
const PrintFieldInfo &printFieldInfo(PrintField field);

// PrintFieldSet: every flag starts off.
struct PrintFieldSet {
    std::array<bool, PrintFieldCount> flags{};

    bool has(PrintField field) const { return flags[size_t(field)]; }
    void set(PrintField field, bool on) { flags[size_t(field)] = on; }
    // Ticks or unticks the fourteen field flags, leaving Criteria and Numbering alone.
    void setAllFields(bool on);
};

// Cmd_tous, on the print screen or the archive window: ticks the fourteen field flags when the
// shared toggle is off, else unticks them; turns the toggle over and returns the button's new
// caption.
QString ToggleAllPrintFields(PrintFieldSet &fields, bool &tickAllToggle);
// The caption of Cmd_tous for a toggle state.
QString ToggleAllCaption(bool tickAllToggle);

// Option_Prn. The type only enables or disables the tick boxes: the print follows the ticks.
enum class PrintType { Standard = 0, Custom = 1, Bibliography = 2, TitleList = 3 };
inline constexpr int PrintTypeCount = 4;
QString printTypeCaption(PrintType type);
// Whether the tick boxes, Cmd_tous, Label1 and Frame1 are enabled for a type.
inline bool printFieldsEnabled(PrintType type)
{
    return type == PrintType::Custom;
}

// ---------------------------------------------------------------------------------------------
// The basket print.

// Everything one print needs, read by the caller when the print starts.
struct BasketPrintJob {
    QString versionTitle;       // VersionTitle
    QString generalTitle;       // T_Titre of Print_titre, as typed
    int basket = 1;             // CurrentBasket
    int count = 0;              // its count in BasketCounts
    PrintFieldSet fields;       // the ticks of the print screen
    SelectionCriteria criteria; // the search screen at this moment
    KeywordCaptions keywordCaptions;
    QDateTime printedAt = QDateTime::currentDateTime();
    QString pdfFile; // empty: the default printer
};

inline const QString PrintFontFamily = QStringLiteral("Times New Roman");
inline constexpr double PrintFontSize = 9;
// The credit line that follows VersionTitle on the first line of the heading.
inline const QString PrintCreditLine = QStringLiteral(" - catalogue de références Ferlin - ");

// The set the print walks: basket n in the basket's order.
QString BasketPrintSource(int basket);

// The message shown instead of printing an empty basket, and its title.
QString EmptyBasketPrintMessage(int basket);
inline const QString EmptyBasketPrintTitle = QStringLiteral("Impression interrompue");

// Receives the printed lines one at a time.
using PrintLineSink = std::function<void(const QString &line)>;

// The heading, the criteria block and the count (before the references), in order.
void PrintBasketHeading(const BasketPrintJob &job, const PrintLineSink &sink);
QStringList BasketHeadingLines(const BasketPrintJob &job);
// The block of the current reference of a set, in order. A field that cannot be read throws
// after the lines before it have been sent.
void PrintReference(const RecordSet &references, const PrintFieldSet &fields,
                    const PrintLineSink &sink);
QStringList ReferenceLines(const RecordSet &references, const PrintFieldSet &fields);
// The line of numbers, month and pages of a reference.
QString ReferenceNumbersLine(const RecordSet &references, const PrintFieldSet &fields);

struct BasketPrintResult {
    int printed = 0; // references printed whole
    int failed = 0;  // references abandoned after an error
};

// PrintBasket without its dialogs: with a count of 0 nothing is printed. Otherwise sets the
// font, prints the heading, one block per reference of `references` from its first row to its
// last, and "Fin de la sélection.", and ends the document. An error within a reference abandons
// the rest of it and goes on with the next one; an error outside the references, or one that
// strikes three references in a row, ends the print and is thrown again (PlatformError or
// DbError). The set is left on its first row.
BasketPrintResult PrintBasket(const BasketPrintJob &job, RecordSet &references,
                              LinePrinter &printer);
// The same over the basket of the job itself, in its order, whatever the card shows.
BasketPrintResult PrintBasket(const BasketPrintJob &job, Database &db, LinePrinter &printer);

} // namespace ferlin
