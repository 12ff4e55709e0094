#pragma once

#include "core/record/textaccess.h"

#include <QString>

#include <vector>

namespace ferlin {

class Database;
class Drives;
class FileSystem;

// One text to index: the reference, and its file as a root folder and the stored path below it
// (resolved under its real names by the indexer).
struct TextToIndex {
    int rang = 0;
    QString root;
    QString storedPath;
};

// The texts that can be read now: from the hard-disk copy when the texts are read from there,
// otherwise those of the disc in the drive (a disc image or a folder standing for the drive
// counts); the other disc's texts when that disc is in the drive.
struct ReachableTexts {
    std::vector<TextToIndex> texts;
    int existing = 0;    // references of the base that have a text
    int disc = 0;        // the disc in the drive (1 or 2), 0 for the hard disk
    QString unreachable; // why no text can be read now, in French; empty otherwise
};

// Reads the base's text locations (DbError on failure) and looks at the drive or the folder
// (never asks for a disc: the index takes what is there).
ReachableTexts FindReachableTexts(Database &db, const Settings &settings, Drives &drives,
                                  FileSystem &files);

// The number of references of the base that have a text.
int StoredTextCount(Database &db);
// Where a reference's text is (TexteIntegral and Localisation), as the record card holds it;
// empty when the base has no such reference or it has no text.
ArticleTextPlace ReadTextPlace(Database &db, int rang);

} // namespace ferlin
