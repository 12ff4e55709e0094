#pragma once

// The entry functions of the fuzz targets. Each takes one input as libFuzzer hands it over and
// returns an empty text when everything held, or what went wrong. The fuzz targets (fuzz/) abort
// on a failure; test_fuzzregressions replays the kept inputs through the same functions.

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

struct FuzzEntry {
    const char *name; // the target: fuzz_<name>, fuzz/corpus/<name>, fuzz/regressions/<name>
    std::string (*run)(const std::uint8_t *data, std::size_t size);
};

// Every target, in a fixed order.
const std::vector<FuzzEntry> &fuzzEntries();
// The target of that name, or nullptr.
const FuzzEntry *findFuzzEntry(const std::string &name);

} // namespace ferlin::fuzz
