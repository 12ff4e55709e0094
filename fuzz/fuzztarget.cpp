// The libFuzzer main of one target: FERLIN_FUZZ_TARGET names its entry (see fuzzentries.h).
#include "fuzzentries.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

const ferlin::fuzz::FuzzEntry *Entry = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Entry = ferlin::fuzz::findFuzzEntry(FERLIN_FUZZ_TARGET);
    if (!Entry) {
        std::fprintf(stderr, "no fuzz entry named %s\n", FERLIN_FUZZ_TARGET);
        std::abort();
    }
    // Documents lay their text out in fonts, as in the program: a headless GUI application.
    // libFuzzer's own arguments are kept away from Qt's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_" FERLIN_FUZZ_TARGET;
    static char *argv[] = {name, nullptr};
    static QGuiApplication *application = new QGuiApplication(argc, argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string failure = Entry->run(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_%s: %s\n", Entry->name, failure.c_str());
        std::abort();
    }
    return 0;
}
