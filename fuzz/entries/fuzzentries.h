#pragma once

// The entry functions of the fuzz targets. Each takes one input as libFuzzer hands it over and
// returns an empty text when everything held, or what went wrong. The fuzz targets (fuzz/) abort
// on a failure; test_fuzzregressions replays the kept inputs through the same functions.
//
// Targets: rtfreader, jetlike, condition, settings, fulltextquery, mdbsource, pdftext.
//
// mdbsource and pdftext read a file the program did not write with a library (libmdb, Poppler)
// that may loop for ever or exhaust the memory on a damaged one. The fuzzer runs them in its own
// process, under its -timeout and -rss_limit_mb; the program never does: it reads such files in
// the reader child, under limits. Their inputs are replayed the program's way, through the reader
// child (FuzzEntry::replay), so that a kept hang ends within the replay's limits.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ferlin::fuzz {

// The bytes as an RTF file imported into the archive window: a refusal leaves the text as it
// was; an accepted document is written as RTF again and reads back with the same text.
std::string RtfImport(const std::uint8_t *data, std::size_t size);

// Pattern and text of the LIKE dialect, split at the first NUL byte. The compiled pattern agrees
// with a plain reference matcher and with "SELECT ? LIKE ?" on a connection with the dialect; a
// text with its wildcards escaped matches itself.
std::string LikeMatch(const std::uint8_t *data, std::size_t size);

// Search criteria (ticks, keywords, years, bulletin, texts, reference, free text) read from the
// bytes. A condition that is not rejected runs against an in-memory catalogue; only a year that
// is not a number may fail it.
std::string SelectionSearch(const std::uint8_t *data, std::size_t size);

// A settings store filled from the bytes and loaded; what the load keeps is saved and loads
// again unchanged.
std::string SettingsLoad(const std::uint8_t *data, std::size_t size);

// A query typed into the full-text search, as UTF-8. A refused query explains itself; an accepted
// one is an FTS5 expression that SQLite takes on a table indexed as the program indexes its texts,
// and, when it excludes nothing (no SAUF), it finds the text it was typed as.
std::string FullTextQueryMatch(const std::uint8_t *data, std::size_t size);

// The error SQLite gives for `match` as the MATCH expression of a table indexed as the program
// indexes its texts, holding `body`; empty when it runs. Sets `found` to whether a row matched.
std::string Fts5Refusal(const std::string &match, const std::string &body, bool *found = nullptr);

// The bytes as the published base, a Jet file read with MdbRowSource: it opens, or is refused
// with a DbError; each table's columns, row count and rows read, or are refused; every row has
// one value per column, each null or of its column's kind.
std::string MdbSourceRead(const std::uint8_t *data, std::size_t size);
// The same questions asked of the reader child (ChildJetSource) under short limits: each answer
// or refusal comes within the limits.
std::string MdbSourceReadInChild(const std::uint8_t *data, std::size_t size);

// The bytes as an article's PDF, read with readPdfText through the reader module: the module is
// found; the file reads, or is told damaged or locked, without pages.
std::string PdfTextRead(const std::uint8_t *data, std::size_t size);
// The same file read by the reader child (ChildPdfReader) under short limits: it ends within
// them, read, damaged, locked, or given up (stalled, out of memory, reader dead).
std::string PdfTextReadInChild(const std::uint8_t *data, std::size_t size);

struct FuzzEntry {
    const char *name; // the target: fuzz_<name>, fuzz/corpus/<name>, fuzz/regressions/<name>
    std::string (*run)(const std::uint8_t *data, std::size_t size);
    // How test_fuzzregressions replays the kept inputs when not through `run`: nullptr, or the
    // reading through the reader child of a target whose library may hang.
    std::string (*replay)(const std::uint8_t *data, std::size_t size) = nullptr;
};

// Every target, in a fixed order.
const std::vector<FuzzEntry> &fuzzEntries();
// The target of that name, or nullptr.
const FuzzEntry *findFuzzEntry(const std::string &name);
// What test_fuzzregressions replays the target's inputs with: replay, or else run.
inline auto replayOf(const FuzzEntry &entry)
{
    return entry.replay ? entry.replay : entry.run;
}

} // namespace ferlin::fuzz
