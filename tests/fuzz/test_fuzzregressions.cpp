// Every input kept beside the fuzz targets goes through its target's entry again: the seeds of
// fuzz/corpus/<target>/ and the inputs that once failed, in fuzz/regressions/<target>/. The
// targets whose library may hang (mdbsource, pdftext) read them through the reader child.
#include "fuzzentries.h"
#include "fuzzinput.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace ferlin::fuzz;

namespace {

QStringList KeptInputs(const QString &kind, const char *target)
{
    const QDir folder(QStringLiteral(FERLIN_FUZZ_FOLDER "/") + kind + u'/' + QLatin1String(target));
    QStringList files;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        files << folder.filePath(name);
    return files;
}

// Runs the files through the entry; returns how many were run.
int Replay(const FuzzEntry &entry, const QStringList &files)
{
    for (const QString &path : files) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray input = file.readAll();
        // A crash or a leak was our own code's: it is replayed where it happened, in-process.
        // Only the libraries' hangs and blow-ups need the reader child.
        const QString name = QFileInfo(path).fileName();
        const bool ours =
            name.startsWith(QLatin1String("crash-")) || name.startsWith(QLatin1String("leak-"));
        const std::string failure = (ours ? entry.run : replayOf(entry))(
            reinterpret_cast<const std::uint8_t *>(input.constData()), input.size());
        EXPECT_EQ(failure, "") << entry.name << ": " << path.toStdString();
    }
    return int(files.size());
}

class FuzzInputs : public ::testing::TestWithParam<FuzzEntry> {};

} // namespace

TEST_P(FuzzInputs, SeedsPassAndEveryTargetHasSome)
{
    EXPECT_GT(Replay(GetParam(), KeptInputs(QStringLiteral("corpus"), GetParam().name)), 0);
}

TEST_P(FuzzInputs, InputsThatOnceFailedStayFixed)
{
    Replay(GetParam(), KeptInputs(QStringLiteral("regressions"), GetParam().name));
}

TEST_P(FuzzInputs, EmptyAndShortInputsPass)
{
    const std::uint8_t bytes[] = {0xFF, 0x00, 0x7B, 0x5C, 0xC3};
    for (std::size_t size = 0; size <= sizeof bytes; ++size)
        EXPECT_EQ(replayOf(GetParam())(bytes, size), "")
            << GetParam().name << ", " << size << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, ::testing::ValuesIn(fuzzEntries()),
                         [](const ::testing::TestParamInfo<FuzzEntry> &target) {
                             return std::string(target.param.name);
                         });

TEST(FuzzInput, ReadsLengthPrefixedTextsThenZeros)
{
    const std::uint8_t bytes[] = {0x03, 0xC3, 0xA9, 't', 0x07, 0x02, 'a', 'b', 'c'};
    FuzzInput in(bytes, sizeof bytes);
    EXPECT_EQ(in.text(), QStringLiteral("ét"));
    EXPECT_TRUE(in.flag());
    EXPECT_EQ(in.byte(), 0x02);
    // A length running past the end takes what is left.
    EXPECT_EQ(in.bytes(10), QByteArray("abc"));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.byte(), 0);
    EXPECT_FALSE(in.flag());
    EXPECT_EQ(in.text(), QString());
    EXPECT_EQ(in.bytes(4), QByteArray());
}

TEST(FuzzEntries, EveryTargetIsFoundByName)
{
    for (const FuzzEntry &entry : fuzzEntries())
        EXPECT_EQ(findFuzzEntry(entry.name), &entry);
    EXPECT_EQ(findFuzzEntry("absent"), nullptr);
}

// The shared hostile files hang libmdb or Poppler in the program's process; read the replay's
// way, through the reader child, each ends within the replay's short limits.
TEST(FuzzEntries, HangsOfTheLibrariesEndInTheReaderChild)
{
    const std::pair<const char *, const char *> cases[] = {
        {"mdbsource", "kkd-loop-memory.mdb"},
        {"mdbsource", "kkd-loop-stderr-flood.mdb"},
        {"pdftext", "xobject-billion-laughs.pdf"},
        {"pdftext", "gsave-million.pdf"},
    };
    for (const auto &[target, name] : cases) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(FERLIN_HOSTILE_TESTDATA "/") + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "no hostile test files";
        const QByteArray input = file.readAll();
        const FuzzEntry *entry = findFuzzEntry(target);
        ASSERT_NE(entry, nullptr);
        ASSERT_NE(entry->replay, nullptr) << "replayed in the test's own process";
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(entry->replay(reinterpret_cast<const std::uint8_t *>(input.constData()),
                                std::size_t(input.size())),
                  "");
        EXPECT_LT(clock.elapsed(), 30000);
    }
}

// The check of the full-text target: SQLite runs a valid FTS5 expression and refuses a broken
// one, as the program's index would.
TEST(FuzzEntries, Fts5CheckTellsAValidExpressionFromABrokenOne)
{
    struct Case {
        const char *match;
        bool valid;
        bool found;
    };
    const Case cases[] = {
        {R"("miroir" AND "plan")", true, true},
        {R"("lentil"*)", true, true},
        {R"("Ecole")", true, true}, // accents removed by the tokenizer
        {R"("lentille" NOT "miroir")", true, false},
        {R"("prisme")", true, false},
        {"AND", false, false},
        {R"("miroir)", false, false},
        {R"("miroir" OR)", false, false},
        {"lentil* *", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.match);
        bool found = !c.found;
        const std::string refusal = Fts5Refusal(c.match, "Une lentille devant le miroir", &found);
        EXPECT_EQ(refusal.empty(), c.valid) << refusal;
        if (c.valid) {
            EXPECT_EQ(found, c.found);
        }
    }
}
