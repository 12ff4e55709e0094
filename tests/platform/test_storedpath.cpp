// Stored backslash paths turned into the real file on disk, without regard to case.
#include "core/platform/storedpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ResolveStoredPath, FindsTheRealNamesWhateverTheirCase)
{
    QTemporaryDir disc;
    const QString root = disc.path();
    touch(root + QStringLiteral("/TEXTES/1998/A.PDF"));

    const QString real = root + QStringLiteral("/TEXTES/1998/A.PDF");
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\Textes\\1998\\a.pdf")), real);
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("Textes\\1998\\A.PDF")), real);
    EXPECT_EQ(resolveStoredPath(root + QLatin1Char('/'), QStringLiteral("textes\\1998\\a.Pdf")),
              real);
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("/textes/1998/a.pdf")), real);

    // No match: the stored path below the root, with "/".
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\Textes\\1998\\b.pdf")),
              root + QStringLiteral("/Textes/1998/b.pdf"));
    EXPECT_EQ(resolveStoredPath(root + QLatin1Char('/'), QStringLiteral("\\Autres\\a.pdf")),
              root + QStringLiteral("/Autres/a.pdf"));
}

TEST(ResolveStoredPath, MatchesAccentedNamesInAnyCaseAndForm)
{
    QTemporaryDir disc;
    const QString root = disc.path();
    touch(root + QStringLiteral("/Études/Élève été.pdf"));
    // A name written decomposed (e + combining acute), as some systems store it.
    const QString decomposed =
        QStringLiteral("Cr\u00e9ation.pdf").normalized(QString::NormalizationForm_D);
    touch(root + QStringLiteral("/Études/") + decomposed);

    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\ÉTUDES\\ÉLÈVE ÉTÉ.PDF")),
              root + QStringLiteral("/Études/Élève été.pdf"));
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\études\\élève été.pdf")),
              root + QStringLiteral("/Études/Élève été.pdf"));
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\Études\\CRÉATION.PDF")),
              root + QStringLiteral("/Études/") + decomposed);
}

TEST(ResolveStoredPath, PrefersTheExactNameWhenSeveralDifferOnlyInCase)
{
    QTemporaryDir disc;
    const QString root = disc.path();
    touch(root + QStringLiteral("/Textes/a.pdf"));
    touch(root + QStringLiteral("/Textes/A.PDF"));
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\Textes\\A.PDF")),
              root + QStringLiteral("/Textes/A.PDF"));
    EXPECT_EQ(resolveStoredPath(root, QStringLiteral("\\Textes\\a.pdf")),
              root + QStringLiteral("/Textes/a.pdf"));
}
