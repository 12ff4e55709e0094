#include "fuzzentries.h"

namespace ferlin::fuzz {

const std::vector<FuzzEntry> &fuzzEntries()
{
    static const std::vector<FuzzEntry> entries = {
        {"rtfreader", RtfImport},
        {"jetlike", LikeMatch},
        {"condition", SelectionSearch},
        {"settings", SettingsLoad},
        {"fulltextquery", FullTextQueryMatch},
        {"mdbsource", MdbSourceRead, MdbSourceReadInChild},
        {"pdftext", PdfTextRead, PdfTextReadInChild}};
    return entries;
}

const FuzzEntry *findFuzzEntry(const std::string &name)
{
    for (const FuzzEntry &entry : fuzzEntries()) {
        if (name == entry.name)
            return &entry;
    }
    return nullptr;
}

} // namespace ferlin::fuzz
