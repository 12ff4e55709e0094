#include "samplebase.h"

#include "catalogue.h"
#include "pdfwriter.h"

#include "core/db/database.h"
#include "core/db/schema.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <sqlite3.h>

#include <iterator>
#include <stdexcept>

namespace ferlin::sample {

namespace {

// Work in progress stands beside the result under these names until it is complete.
const QString WorkPrefix = QStringLiteral(".ferlin-sample-");
constexpr int BandCount = 9;
const QString LineBreak = QStringLiteral("\r\n");

[[noreturn]] void failWith(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString discFolderName(int disc)
{
    return QStringLiteral("FERLIN4_") + QString::number(disc);
}

// A list-valued field as the base stores it: one value a line, a blank on each side of it.
QVariant listField(const QStringList &values)
{
    if (values.isEmpty())
        return {};
    QStringList lines;
    for (const QString &value : values)
        lines << u' ' + value + u' ';
    return lines.join(LineBreak);
}

QVariant textOrNull(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

void stepAndReset(Database &db, sqlite3_stmt *stmt)
{
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        db.fail(rc);
    sqlite3_reset(stmt);
}

void insertColumn(Database &db, const QString &table, const QString &field,
                  const QStringList &values)
{
    StatementPtr stmt =
        db.prepare(QStringLiteral("INSERT INTO [") + table + QStringLiteral("] ([") + field +
                   QStringLiteral("]) VALUES (?)"));
    for (const QString &value : values) {
        bindValue(stmt.get(), 1, value);
        stepAndReset(db, stmt.get());
    }
}

// Inserts references, binding each value to its field's place in the table.
class ArticleWriter {
public:
    explicit ArticleWriter(Database &db) : m_db(db)
    {
        const QStringList &fields = Schema::referenceFields();
        QStringList marks;
        for (int i = 0; i < fields.size(); ++i)
            marks << QStringLiteral("?");
        m_stmt = db.prepare(QStringLiteral("INSERT INTO [") + Schema::Articles +
                            QStringLiteral("] ([") + fields.join(QStringLiteral("],[")) +
                            QStringLiteral("]) VALUES (") + marks.join(u',') + u')');
    }

    void write(const Article &a)
    {
        const QVariant values[] = {
            a.rank,
            a.year,
            QString::number(a.bulletin),
            a.month,
            a.volume,
            a.page,
            a.pages,
            a.title,
            textOrNull(a.subtitle),
            a.authors.join(LineBreak),
            listField(a.domains),
            listField(a.pointsOfView),
            listField(a.levels),
            listField(a.keywords),
            textOrNull(a.summary),
            a.disc ? QVariant(QString::fromLatin1(TextPrefix) + u'\\' + a.textPath) : QVariant(),
            a.disc ? QVariant(QString::number(a.disc)) : QVariant(),
            QString::fromLatin1(UpdateDateText),
        };
        for (int i = 0; i < int(std::size(values)); ++i)
            bindValue(m_stmt.get(), m_columnOf[size_t(i)], values[i]);
        stepAndReset(m_db, m_stmt.get());
    }

private:
    // Where each value of write() goes among the table's fields (1-based parameters).
    const std::vector<int> m_columnOf = [] {
        const char *order[] = {"Rang",          "An",           "Numéro",  "Mois",      "Volume",
                               "Page",          "NombrePages",  "Titre",   "Soustitre", "Auteur",
                               "Domaine",       "PointdeVue",   "Niveaux", "MotsCles",  "Resume",
                               "TexteIntegral", "Localisation", "MajDate"};
        std::vector<int> columns;
        for (const char *name : order) {
            const qsizetype i = Schema::referenceFields().indexOf(QString::fromUtf8(name));
            if (i < 0)
                failWith(QStringLiteral("Unknown reference field: ") + QString::fromUtf8(name));
            columns.push_back(int(i) + 1);
        }
        if (columns.size() != size_t(Schema::referenceFields().size()))
            failWith(QStringLiteral("The reference fields have changed"));
        return columns;
    }();
    Database &m_db;
    StatementPtr m_stmt;
};

// Writes the PDF of each reference with a text below the two disc folders: a few pages of
// French sentences on the article's topics, after its title, summary and keywords.
class TextWriter {
public:
    TextWriter(const QString (&discs)[2], const Catalogue &catalogue)
        : m_discs(discs), m_catalogue(catalogue)
    {
    }

    qint64 write(const Article &a)
    {
        const QString relative = QString(a.textPath).replace(u'\\', u'/');
        const QString path = m_discs[a.disc - 1] + u'/' + relative;
        const QString folder = path.section(u'/', 0, -2);
        if (!m_made.contains(folder)) {
            if (!QDir().mkpath(folder))
                failWith(QStringLiteral("Cannot create ") + folder);
            m_made.insert(folder);
        }
        const QByteArray pdf = pdfDocument(pages(a));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
            failWith(QStringLiteral("Cannot write ") + path);
        return pdf.size();
    }

private:
    std::vector<PdfPage> pages(const Article &a) const
    {
        const QString header = QStringLiteral("KVT - Bulletin n° %1 - %2 %3 - volume %4")
                                   .arg(a.bulletin)
                                   .arg(a.month.trimmed())
                                   .arg(a.year)
                                   .arg(a.volume);
        const std::vector<QStringList> text = m_catalogue.textPages(a);
        std::vector<PdfPage> pages;
        for (size_t i = 0; i < text.size(); ++i) {
            PdfPage page;
            page.header = header;
            if (i == 0)
                page.title = a.title;
            page.blocks = text[i];
            page.footer = QStringLiteral("Base d'exemple de Ferlin 4 : texte fictif de la "
                                         "référence n° %1 - page %2 / %3")
                              .arg(a.rank)
                              .arg(i + 1)
                              .arg(text.size());
            pages.push_back(std::move(page));
        }
        return pages;
    }

    const QString (&m_discs)[2];
    const Catalogue &m_catalogue;
    QSet<QString> m_made;
};

// Counts per period of the journal's history, for the colours of TEtatbase.
struct Bands {
    int referenced[BandCount] = {};
    int indexed[BandCount] = {};
    int texts[BandCount] = {};

    static int period(int year)
    {
        const int years = Catalogue::LastYear - Catalogue::FirstYear + 1;
        return (year - Catalogue::FirstYear) * BandCount / years;
    }
    // Green when most of the period's references have it, yellow for a fair part, else red.
    static quint32 colour(int part, int whole)
    {
        if (whole == 0 || part * 4 < whole)
            return Red;
        return part * 4 >= whole * 3 ? Green : Yellow;
    }
};

void removePath(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        if (!QDir(path).removeRecursively())
            failWith(QStringLiteral("Cannot remove ") + path);
    } else if (info.exists() || info.isSymLink()) {
        if (!QFile::remove(path))
            failWith(QStringLiteral("Cannot remove ") + path);
    }
}

void moveInto(const QString &from, const QString &to)
{
    removePath(to);
    if (!QDir().rename(from, to))
        failWith(QStringLiteral("Cannot rename ") + from + QStringLiteral(" to ") + to);
}

// The PDF viewer's installer that "Installer Acrobat Reader" starts from disc 1: here a short
// shell script that only says what it stands for.
void writeViewerInstaller(const QString &disc)
{
    const QString folder = disc + u'/' + QString::fromLatin1(ViewerInstallerFolder);
    if (!QDir().mkpath(folder))
        failWith(QStringLiteral("Cannot create ") + folder);
    const QByteArray script =
        QStringLiteral("#!/bin/sh\n"
                       "# Base d'exemple de Ferlin 4 : tient la place du programme d'installation "
                       "d'Acrobat Reader 4.\n"
                       "echo \"Base d'exemple de Ferlin 4 : ce fichier tient la place du programme "
                       "d'installation d'Acrobat Reader 4 du CD-ROM n° 1. Installez un lecteur de "
                       "PDF avec les outils de votre système.\"\n")
            .toUtf8();
    QFile file(folder + u'/' + QString::fromLatin1(ViewerInstallerFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        failWith(QStringLiteral("Cannot write ") + file.fileName());
    // A script, runnable as the installer it stands for is.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        removePath(path + QLatin1String(suffix));
}

} // namespace

Summary generate(const QString &folder, const Options &options)
{
    if (options.references < 1)
        failWith(QStringLiteral("The base needs at least one reference"));
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        failWith(QStringLiteral("Cannot create ") + folder);
    const QString workBase = dir.filePath(WorkPrefix + QLatin1String(Database::FileName));
    const QString workDiscs[2] = {dir.filePath(WorkPrefix + discFolderName(1)),
                                  dir.filePath(WorkPrefix + discFolderName(2))};
    removeDatabaseFiles(workBase);
    for (const QString &disc : workDiscs) {
        removePath(disc);
        // Both discs exist with their texts folder, even one that a tiny base leaves empty.
        if (options.writeTexts && !QDir().mkpath(disc + QStringLiteral("/Textes")))
            failWith(QStringLiteral("Cannot create ") + disc);
    }
    if (options.writeTexts)
        writeViewerInstaller(workDiscs[0]);

    const Catalogue catalogue(options.seed, options.references);
    Summary summary;
    summary.references = options.references;
    summary.firstYear = catalogue.article(1).year;
    summary.lastYear = catalogue.article(options.references).year;
    {
        auto db = Database::create(workBase);
        db->executeBound(QStringLiteral("PRAGMA synchronous=OFF"), {});
        Transaction transaction(*db);
        Schema::create(*db);

        ArticleWriter articles(*db);
        TextWriter texts(workDiscs, catalogue);
        Bands bands;
        QSet<QString> authors;
        QSet<int> bulletins;
        for (int rank = options.references; rank >= 1; --rank) { // newest first
            const Article a = catalogue.article(rank);
            articles.write(a);
            for (const QString &author : a.authors)
                authors.insert(author);
            bulletins.insert(a.bulletin);
            const int period = Bands::period(a.year);
            ++bands.referenced[period];
            if (a.indexed()) {
                ++summary.indexed;
                ++bands.indexed[period];
            }
            if (!a.summary.isNull())
                ++summary.withSummary;
            if (a.disc) {
                ++summary.withText;
                ++summary.textsOnDisc[size_t(a.disc - 1)];
                ++bands.texts[period];
                if (options.writeTexts) {
                    summary.pdfBytes += texts.write(a);
                    ++summary.pdfFiles;
                }
            }
        }
        summary.bulletins = int(bulletins.size());

        QStringList authorNames(authors.begin(), authors.end());
        Catalogue::sortFrench(authorNames);
        insertColumn(*db, Schema::Keywords, QStringLiteral("Clé"), catalogue.keywords());
        insertColumn(*db, Schema::SeeAlso, QStringLiteral("MotVoir"), catalogue.seeAlso());
        insertColumn(*db, Schema::Authors, QStringLiteral("Auteur"), authorNames);
        insertColumn(*db, Schema::PointsOfView, QStringLiteral("PtVue"), catalogue.pointsOfView());
        insertColumn(*db, Schema::Domains, QStringLiteral("Domaine"), catalogue.domains());
        for (int k = 0; k < BandCount; ++k)
            db->executeBound(QStringLiteral("INSERT INTO [TEtatbase] ([E_Titre], [E_Auteur], "
                                            "[E_Clef]) VALUES (?, ?, ?)"),
                             {Bands::colour(bands.referenced[k], bands.referenced[k]),
                              Bands::colour(bands.indexed[k], bands.referenced[k]),
                              Bands::colour(bands.texts[k], bands.referenced[k])});
        transaction.commit();
        db->compact(); // as the import leaves the published base
        summary.keywords = int(catalogue.keywords().size());
        summary.seeAlso = int(catalogue.seeAlso().size());
        summary.authors = int(authorNames.size());
        summary.pointsOfView = int(catalogue.pointsOfView().size());
        summary.domains = int(catalogue.domains().size());
        summary.stateBands = BandCount;
    }

    for (int disc = 1; disc <= 2; ++disc) {
        const QString target = dir.filePath(discFolderName(disc));
        if (options.writeTexts)
            moveInto(workDiscs[disc - 1], target);
        else
            removePath(target);
    }
    const QString base = dir.filePath(QLatin1String(Database::FileName));
    removeDatabaseFiles(base);
    moveInto(workBase, base);
    return summary;
}

} // namespace ferlin::sample
