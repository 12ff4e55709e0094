// make_sample_base: writes the sample base and its two disc folders into a folder.
//   make_sample_base [--seed N] [--size N] [--out FOLDER] [--no-texts]
#include "samplebase.h"

#include "core/db/dberror.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <exception>

namespace {

bool readNumber(const QString &text, qulonglong min, qulonglong max, qulonglong &value)
{
    bool ok = false;
    value = text.toULongLong(&ok);
    return ok && value >= min && value <= max;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "make_sample_base: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("make_sample_base"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the sample base (ferlin4.sqlite) and the disc folders FERLIN4_1 "
                       "and FERLIN4_2 with one PDF per full text."));
    parser.addHelpOption();
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed (1)."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Number of references (6773)."),
                                  QStringLiteral("N"), QStringLiteral("6773"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Folder to write into (the current one)."),
                                 QStringLiteral("FOLDER"), QStringLiteral("."));
    const QCommandLineOption noTexts(
        QStringLiteral("no-texts"), QStringLiteral("Write no disc folders (and remove old ones)."));
    parser.addOptions({seed, size, out, noTexts});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument ") + parser.positionalArguments().first());

    ferlin::sample::Options options;
    qulonglong value = 0;
    if (!readNumber(parser.value(seed), 0, 0xFFFFFFFFULL, value))
        return fail(QStringLiteral("--seed needs a whole number from 0 to 4294967295"));
    options.seed = quint32(value);
    if (!readNumber(parser.value(size), 1, 10000000ULL, value))
        return fail(QStringLiteral("--size needs a whole number from 1 to 10000000"));
    options.references = int(value);
    options.writeTexts = !parser.isSet(noTexts);

    const QString folder = QDir(parser.value(out)).absolutePath();
    QElapsedTimer timer;
    timer.start();
    try {
        const ferlin::sample::Summary s = ferlin::sample::generate(folder, options);
        std::printf("%s: %d references (%d-%d, %d bulletins), %d indexed, %d with a summary, "
                    "%d full texts (disc 1: %d, disc 2: %d), %d keywords, %d see-also lines, "
                    "%d authors; %d PDF files (%lld bytes); %lld ms\n",
                    qPrintable(QDir::toNativeSeparators(folder)), s.references, s.firstYear,
                    s.lastYear, s.bulletins, s.indexed, s.withSummary, s.withText, s.textsOnDisc[0],
                    s.textsOnDisc[1], s.keywords, s.seeAlso, s.authors, s.pdfFiles,
                    static_cast<long long>(s.pdfBytes), static_cast<long long>(timer.elapsed()));
    } catch (const ferlin::DbError &e) {
        return fail(QStringLiteral("database error %1: %2").arg(e.number()).arg(e.description()));
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
