#pragma once

#include "core/output/basketprint.h"
#include "core/search/criteria.h"

#include <QDateTime>
#include <QString>

class QTextDocument;

namespace ferlin {

class BusyPointer;
class MessageBox;
class Database;
class RecordSet;

// The four archive types, numbered as the archive window's options give them.
enum class ArchiveType {
    Full = 1,         // "Intégral": every field of every reference
    Bibliography = 2, // "Bibliographie": one citation per reference
    TitleList = 3,    // "Liste des titres": a tabulated list
    Custom = 4,       // "Personnalisé": the ticked fields, optionally after the criteria
};

// The type an index of the option array Op_TypeEx stands for (0 to 3).
inline ArchiveType archiveTypeForOption(int index)
{
    return ArchiveType(index + 1);
}

// The tab stops of the list of titles, in twips: character widths of 120 twips.
inline constexpr int ArchiveTitleListTabStops[] = {720, 1560, 2760};

// Everything one archive needs, read by the caller when the build starts.
struct ArchiveInput {
    int basket = 1;                       // the basket archived, 1 to 3
    ArchiveType type = ArchiveType::Full; // Op_TypeEx
    int count = 0;                        // its count in BasketCounts
    QString versionTitle;                 // VersionTitle
    QDateTime builtAt = QDateTime::currentDateTime();
    PrintFieldSet fields;            // the ticks of the archive window (type 4)
    SelectionCriteria criteria;      // the search screen at this moment (type 4)
    KeywordCaptions keywordCaptions; // Lab_cle1, Lab_cle_et, Lab_cle_ou, Lab_cle_sauf
};

// The message shown instead of archiving an empty basket.
QString EmptyBasketArchiveMessage(int basket);

// BuildArchive: replaces the content of `document` with the archive of a basket, whose rows
// `rows` holds in table order (walked from the first to the last). A basket counted empty
// shows the critical message with the program's title and leaves the document empty; otherwise
// the busy pointer is shown while the document is written in one pass, each piece appended at
// the end with the bold and italic in force. A piece that cannot be read (DbError) is left out
// and the build goes on with the next one.
void BuildArchive(QTextDocument &document, const ArchiveInput &input, RecordSet &rows,
                  MessageBox &messages, BusyPointer &pointer);
// The same over the basket of the input, read from its table.
void BuildArchive(QTextDocument &document, const ArchiveInput &input, Database &db,
                  MessageBox &messages, BusyPointer &pointer);

} // namespace ferlin
