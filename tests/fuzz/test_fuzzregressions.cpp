// Every input kept beside the fuzz targets goes through its target's entry again: the seeds of
// fuzz/corpus/<target>/ and the inputs that once failed, in fuzz/regressions/<target>/.
#include "fuzzentries.h"
#include "fuzzinput.h"

#include <QDir>
#include <QFile>

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
        const std::string failure =
            entry.run(reinterpret_cast<const std::uint8_t *>(input.constData()), input.size());
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
        EXPECT_EQ(GetParam().run(bytes, size), "") << GetParam().name << ", " << size << " bytes";
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
