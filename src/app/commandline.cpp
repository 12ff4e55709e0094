#include "app/commandline.h"

#include "app/startup.h"
#include "core/context/baselocation.h"
#include "core/context/baselock.h"
#include "core/context/settingsio.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/fulltext/reachabletexts.h"
#include "core/fulltext/textindex.h"
#include "core/fulltext/textindexer.h"
#include "core/import/importcatalogue.h"
#include "core/import/importreport.h"
#include "core/import/publishedbase.h"
#include "core/output/basketexport.h"
#include "core/output/bibliography.h"
#include "core/output/citationstyles.h"
#include "core/platform/inisettingsstore.h"
#include "core/platform/linuxdrives.h"
#include "core/platform/localfilesystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace ferlin {

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int WrongUsage = 2;

struct CommandContext {
    const QString &databasePath;
    const RowSourceOpener &open;
    const SettingsStore *settings; // nullptr: the user's settings file
    QTextStream &out;
    QTextStream &err;
    QHash<QString, QString> options; // the command's options given, by name ("--separator")
};

// An option that goes with a command, anywhere after it, with its value: "--separator ," or
// "--separator=,".
struct CommandOption {
    QString name; // "--separator"
    QString value;
    QString help;
};

// One option of the command line, with the values that follow it.
struct Command {
    QStringList names; // "--import"; the short form after the long one
    QStringList values;
    QString help;
    std::function<int(const QStringList &values, CommandContext &context)> run;
    std::vector<CommandOption> options = {};
};

const std::vector<Command> &commands();
int wrongUsage(QTextStream &err, const QString &message);

// What the command line says of a base the window has open.
QString openInWindowText(const QString &databasePath, qint64 holder)
{
    return QStringLiteral("ferlin : la base « %1 » est ouverte dans la fenêtre de Ferlin "
                          "(processus n° %2)")
        .arg(QDir::toNativeSeparators(databasePath))
        .arg(holder);
}

int importBase(const QStringList &values, CommandContext &context)
{
    const QString &file = values.at(0);
    // The conversion replaces the base under the window's feet: never while one is open on it.
    BaseLock lock(context.databasePath);
    if (!lock.tryLock()) {
        context.err << openInWindowText(context.databasePath, lock.holder())
                    << QStringLiteral(" : la conversion est refusée. Fermez la fenêtre, puis "
                                      "recommencez.\n");
        return Failed;
    }
    try {
        const std::unique_ptr<RowSource> source = context.open(file);
        context.out << importReport(ImportCatalogue(*source, context.databasePath));
        forgetFailedConversion(context.databasePath);
        return Done;
    } catch (const DbError &error) {
        context.err << QStringLiteral("ferlin : la conversion de « %1 » a échoué ; la base en "
                                      "place n'a pas changé.\n")
                           .arg(QDir::toNativeSeparators(file));
        if (error.number() == DbErrorCode::ObjectNotFound)
            context.err << Startup::failureMessage(error.number(), error.description()).text
                        << u'\n';
        context.err << error.description() << u'\n';
        return Failed;
    }
}

// The settings the window would use.
Settings settingsOf(const CommandContext &context)
{
    Settings settings;
    if (context.settings) {
        LoadSettings(*context.settings, settings);
    } else {
        const IniSettingsStore userSettings;
        LoadSettings(userSettings, settings);
    }
    return settings;
}

// The basket a command names: 1, 2 or 3; 0 for anything else.
int basketArgument(const QString &value)
{
    bool isNumber = false;
    const int basket = value.toInt(&isNumber);
    return isNumber && basket >= 1 && basket <= Schema::BasketCount ? basket : 0;
}

// A base that cannot be read, told as every command tells it.
int baseUnreadable(CommandContext &context, const DbError &error)
{
    context.err << QStringLiteral("ferlin : la base « %1 » ne peut pas être lue : ")
                       .arg(QDir::toNativeSeparators(context.databasePath))
                << error.description() << u'\n';
    return Failed;
}

// How often the indexing tells where it stands, in files.
constexpr int IndexingStep = 100;

int indexTexts(const QStringList &, CommandContext &context)
{
    ReachableTexts reach;
    try {
        const std::unique_ptr<Database> db = Database::open(context.databasePath);
        LinuxDrives drives;
        LocalFileSystem files;
        reach = FindReachableTexts(*db, settingsOf(context), drives, files);
    } catch (const DbError &error) {
        return baseUnreadable(context, error);
    }
    if (!reach.unreachable.isEmpty()) {
        context.err << QStringLiteral("ferlin : ") << reach.unreachable << u'\n';
        return Failed;
    }
    const QString indexPath = TextIndex::pathBeside(context.databasePath);
    context.out << QStringLiteral("Index des textes : %1\nTextes à lire : %2\n")
                       .arg(QDir::toNativeSeparators(indexPath))
                       .arg(reach.texts.size());
    context.out.flush();
    TextIndexer indexer(indexPath);
    IndexingReport report;
    QEventLoop loop;
    int told = 0;
    QObject::connect(
        &indexer, &TextIndexer::progress, &loop, [&](int done, int total, const QString &) {
            if (done - told < IndexingStep && done != total)
                return;
            told = done;
            context.out << QStringLiteral("Textes lus : %1 sur %2\n").arg(done).arg(total);
            context.out.flush();
        });
    QObject::connect(&indexer, &TextIndexer::ended, &loop, [&](const IndexingReport &ended) {
        report = ended;
        loop.quit();
    });
    indexer.start(std::move(reach.texts));
    loop.exec();
    if (!report.failure.isEmpty()) {
        context.err << QStringLiteral("ferlin : ") << report.failure << u'\n';
        return Failed;
    }
    context.out << QStringLiteral("Textes indexés : %1, déjà à jour : %2, non indexés : %3\n")
                       .arg(report.indexed)
                       .arg(report.unchanged)
                       .arg(report.problems.size());
    for (const QString &problem : report.problems)
        context.out << QStringLiteral("  ") << problem << u'\n';
    return Done;
}

int runExport(const QStringList &values, CommandContext &context)
{
    const int basket = basketArgument(values.at(0));
    if (basket == 0)
        return wrongUsage(context.err,
                          QStringLiteral("PANIER vaut 1, 2 ou 3, pas « %1 ».").arg(values.at(0)));
    const std::optional<ExportFormat> format = exportFormatNamed(values.at(1));
    if (!format)
        return wrongUsage(context.err,
                          QStringLiteral("FORMAT vaut bibtex, ris, csljson ou csv, pas « %1 ».")
                              .arg(values.at(1)));
    ExportOptions options;
    if (const auto given = context.options.constFind(QStringLiteral("--separator"));
        given != context.options.cend()) {
        if (*format != ExportFormat::Csv)
            return wrongUsage(context.err, QStringLiteral("l'option « --separator » ne vaut que "
                                                          "pour le format csv."));
        if (given->size() != 1 || !CsvSeparators.contains(given->at(0)))
            return wrongUsage(
                context.err,
                QStringLiteral("SÉPARATEUR vaut « ; » ou « , », pas « %1 ».").arg(*given));
        options.csvSeparator = given->at(0);
    }
    const QString file = withExportExtension(values.at(2), *format);
    if (const std::optional<qint64> holder = BaseLock::holderOf(context.databasePath))
        context.err << openInWindowText(context.databasePath, *holder)
                    << QStringLiteral(" : le panier est exporté tel qu'elle l'a enregistré.\n");
    try {
        // The texts' place decides whether the PDFs are named, as on the record card.
        const Settings settings = settingsOf(context);
        const std::unique_ptr<Database> db = Database::open(context.databasePath);
        const int count =
            ExportBasket(*db, basket, *format, file, exportTextsFolder(settings), options);
        context.out << exportDoneMessage(count, file) << u'\n';
        return Done;
    } catch (const DbError &error) {
        return baseUnreadable(context, error);
    } catch (const ExportError &error) {
        context.err << QStringLiteral("ferlin : ") << error.message() << u'\n';
    }
    return Failed;
}

int runBibliography(const QStringList &values, CommandContext &context)
{
    const int basket = basketArgument(values.at(0));
    if (basket == 0)
        return wrongUsage(context.err,
                          QStringLiteral("PANIER vaut 1, 2 ou 3, pas « %1 ».").arg(values.at(0)));
    // The type follows the file's extension; a name without one of the four is an HTML page.
    QString file = values.at(2);
    const std::optional<BibliographyFormat> named =
        QFileInfo(file).suffix().isEmpty() ? std::nullopt : bibliographyFormatOfFile(file);
    const BibliographyFormat format = named.value_or(BibliographyFormat::Html);
    if (!named)
        file = withBibliographyExtension(file, format);
    const QString pandoc = findPandoc();
    const QStringList folders = citationStyleFolders();
    if (const QString missing = bibliographyToolsMissing(pandoc, folders); !missing.isEmpty()) {
        context.err << QStringLiteral("ferlin : ") << missing << u'\n';
        return Failed;
    }
    const std::optional<QString> style = citationStyleFile(values.at(1), folders);
    if (!style) {
        context.err << QStringLiteral("ferlin : le style « %1 » n'est pas installé. STYLE est le "
                                      "nom d'un fichier .csl de « %2 », sans « .csl » : apa, "
                                      "iso690-author-date-fr...\n")
                           .arg(values.at(1), QDir::toNativeSeparators(folders.constLast()));
        return Failed;
    }
    if (const std::optional<qint64> holder = BaseLock::holderOf(context.databasePath))
        context.err << openInWindowText(context.databasePath, *holder)
                    << QStringLiteral(" : le panier est mis en forme tel qu'elle l'a "
                                      "enregistré.\n");
    try {
        const Settings settings = settingsOf(context);
        const std::unique_ptr<Database> db = Database::open(context.databasePath);
        const BasketExport references =
            ReadBasketForExport(*db, basket, exportTextsFolder(settings));
        if (references.references.empty()) {
            context.err << QStringLiteral("ferlin : Le panier n° %1 est vide : il n'y a rien à "
                                          "mettre en forme.\n")
                               .arg(basket);
            return Failed;
        }
        BibliographyRequest request;
        request.styleFile = *style;
        request.format = format;
        request.document = true;
        request.title = QStringLiteral("Bibliographie du panier n° ") + QString::number(basket);
        const Bibliography done = FormatBibliography(pandoc, references, request);
        WriteFileAtomically(file, done.output);
        context.out << bibliographyDoneMessage(done.count, file) << u'\n';
        return Done;
    } catch (const DbError &error) {
        return baseUnreadable(context, error);
    } catch (const ExportError &error) {
        context.err << QStringLiteral("ferlin : ") << error.message() << u'\n';
    }
    return Failed;
}

int showVersion(const QStringList &, CommandContext &context)
{
    context.out << QStringLiteral("Ferlin %1\n").arg(QStringLiteral(FERLIN_VERSION));
    return Done;
}

int showHelp(const QStringList &, CommandContext &context)
{
    context.out << QStringLiteral("Utilisation : ferlin [OPTION]\n"
                                  "Sans option, ouvre Ferlin sur sa base « %1 ».\n\nOptions :\n")
                       .arg(QDir::toNativeSeparators(context.databasePath));
    for (const Command &command : commands()) {
        QStringList forms = command.names;
        std::reverse(forms.begin(), forms.end());
        context.out << QStringLiteral("  ") << forms.join(QStringLiteral(", "));
        for (const QString &value : command.values)
            context.out << u' ' << value;
        context.out << QStringLiteral("\n      ") << command.help << u'\n';
        for (const CommandOption &option : command.options)
            context.out << QStringLiteral("      ") << option.name << u' ' << option.value
                        << QStringLiteral("\n          ") << option.help << u'\n';
    }
    return Done;
}

const std::vector<Command> &commands()
{
    static const std::vector<Command> list = {
        {{QStringLiteral("--import")},
         {QStringLiteral("FICHIER.mdb")},
         QStringLiteral("Convertit la base publiée FICHIER.mdb (une base Jet comme FERLIN4.MDB)\n"
                        "      en base de Ferlin, qui remplace la base actuelle en gardant ses\n"
                        "      paniers ; puis s'arrête en disant ce qui a été lu."),
         importBase},
        {{QStringLiteral("--export")},
         {QStringLiteral("PANIER"), QStringLiteral("FORMAT"), QStringLiteral("FICHIER")},
         QStringLiteral("Exporte le panier PANIER (1, 2 ou 3) dans FICHIER pour un gestionnaire\n"
                        "      de références ou un tableur ; FORMAT : bibtex, ris, csljson ou csv\n"
                        "      (l'extension du format est ajoutée au nom qui ne l'a pas) ; puis\n"
                        "      s'arrête en disant combien de références ont été écrites."),
         runExport,
         {{QStringLiteral("--separator"), QStringLiteral("SÉPARATEUR"),
           QStringLiteral("Avec le format csv, le séparateur des colonnes : « ; » (par\n"
                          "          défaut, celui qu'attendent les tableurs en français) ou\n"
                          "          « , ». Pour le shell, entre apostrophes : --separator ','\n"
                          "          ou --separator=';'.")}}},
        {{QStringLiteral("--bibliography")},
         {QStringLiteral("PANIER"), QStringLiteral("STYLE"), QStringLiteral("FICHIER")},
         QStringLiteral("Met en forme le panier PANIER (1, 2 ou 3) en bibliographie dans le\n"
                        "      style de citation STYLE (le nom d'un fichier .csl sans « .csl » :\n"
                        "      apa, iso690-author-date-fr, iso690-numeric-fr, chicago-author-date\n"
                        "      ...), par pandoc, dans FICHIER : .html, .rtf, .odt ou .docx selon\n"
                        "      son extension (.html ajouté au nom qui n'en a aucune des quatre) ;\n"
                        "      termes en français, dans l'ordre du style ; puis s'arrête en\n"
                        "      disant combien de références ont été mises en forme."),
         runBibliography},
        {{QStringLiteral("--index-texts")},
         {},
         QStringLiteral("Met à jour l'index des textes intégraux, comme « Mettre à jour\n"
                        "      l'index » de la recherche dans les textes, sur les textes que\n"
                        "      le programme lit (disque dur ou CD) ; puis s'arrête en disant\n"
                        "      combien de textes ont été indexés et lesquels ne l'ont pas été."),
         indexTexts},
        {{QStringLiteral("--version"), QStringLiteral("-V")},
         {},
         QStringLiteral("Affiche le nom et la version du programme et s'arrête."),
         showVersion},
        {{QStringLiteral("--help"), QStringLiteral("-h")},
         {},
         QStringLiteral("Affiche cette aide et s'arrête."),
         showHelp},
    };
    return list;
}

const Command *commandNamed(const QString &name)
{
    for (const Command &command : commands())
        if (command.names.contains(name))
            return &command;
    return nullptr;
}

// Qt's own options of a window program ("-platform offscreen", "--style fusion"...): they
// open the window as usual.
bool isWindowOption(const QString &argument)
{
    static const QStringList options = {QStringLiteral("platform"),
                                        QStringLiteral("platformpluginpath"),
                                        QStringLiteral("platformtheme"),
                                        QStringLiteral("plugin"),
                                        QStringLiteral("qwindowgeometry"),
                                        QStringLiteral("geometry"),
                                        QStringLiteral("qwindowtitle"),
                                        QStringLiteral("title"),
                                        QStringLiteral("qwindowicon"),
                                        QStringLiteral("icon"),
                                        QStringLiteral("style"),
                                        QStringLiteral("stylesheet"),
                                        QStringLiteral("reverse"),
                                        QStringLiteral("session"),
                                        QStringLiteral("display"),
                                        QStringLiteral("name"),
                                        QStringLiteral("widgetcount"),
                                        QStringLiteral("nograb"),
                                        QStringLiteral("dograb"),
                                        QStringLiteral("sync"),
                                        QStringLiteral("visual"),
                                        QStringLiteral("ncols"),
                                        QStringLiteral("cmap")};
    QString name = argument;
    if (name.startsWith(QStringLiteral("--")))
        name.remove(0, 1);
    return name.startsWith(u'-') && options.contains(name.mid(1).section(u'=', 0, 0));
}

int wrongUsage(QTextStream &err, const QString &message)
{
    err << QStringLiteral("ferlin : ") << message
        << QStringLiteral("\nLa liste des options : ferlin --help\n");
    return WrongUsage;
}

} // namespace

std::optional<int> RunCommandLine(const QStringList &arguments, const QString &databasePath,
                                  QTextStream &out, QTextStream &err, const RowSourceOpener &open,
                                  const SettingsStore *settings)
{
    if (arguments.size() < 2)
        return std::nullopt;
    QStringList rest = arguments.mid(1);
    if (isWindowOption(rest.first()))
        return std::nullopt;
    QString name = rest.takeFirst();
    // "--import=FICHIER" is "--import FICHIER".
    const qsizetype equals = name.indexOf(u'=');
    if (name.startsWith(QStringLiteral("--")) && equals > 0) {
        rest.prepend(name.mid(equals + 1));
        name.truncate(equals);
    }
    const Command *command = commandNamed(name);
    if (!command)
        return wrongUsage(err, QStringLiteral("option inconnue « %1 ».").arg(name));
    // The command's own options, wherever they stand after it: "--separator ," or
    // "--separator=,".
    QHash<QString, QString> options;
    for (qsizetype i = 0; i < rest.size();) {
        const QString optionName = rest.at(i).section(u'=', 0, 0);
        const auto option =
            std::find_if(command->options.begin(), command->options.end(),
                         [&](const CommandOption &o) { return o.name == optionName; });
        if (option == command->options.end()) {
            ++i;
            continue;
        }
        if (rest.at(i).contains(u'=')) {
            options.insert(option->name, rest.at(i).section(u'=', 1));
            rest.removeAt(i);
        } else if (i + 1 < rest.size()) {
            options.insert(option->name, rest.at(i + 1));
            rest.remove(i, 2);
        } else {
            return wrongUsage(
                err, QStringLiteral("l'option « %1 » attend %2.").arg(option->name, option->value));
        }
    }
    if (rest.size() < command->values.size())
        return wrongUsage(
            err,
            QStringLiteral("l'option « %1 » attend %2.").arg(name, command->values.join(u' ')));
    if (rest.size() > command->values.size())
        return wrongUsage(
            err, QStringLiteral("argument en trop « %1 ».").arg(rest.at(command->values.size())));
    CommandContext context{databasePath, open, settings, out, err, options};
    const int status = command->run(rest, context);
    out.flush();
    err.flush();
    return status;
}

std::optional<int> RunCommandLine(int argc, char **argv)
{
    if (argc < 2)
        return std::nullopt;
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCommandLine(QCoreApplication::arguments(), chooseBaseLocation().databasePath, out,
                          err);
}

} // namespace ferlin
