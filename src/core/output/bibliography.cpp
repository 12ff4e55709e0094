#include "core/output/bibliography.h"

#include "core/context/settingsio.h"
#include "core/db/schema.h"
#include "core/output/basketexport.h"
#include "core/output/exportformats.h"
#include "core/platform/clipboard.h"
#include "core/platform/messagebox.h"
#include "core/platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <climits>

namespace ferlin {

namespace {

// pandoc's writer of each format.
QString writerOf(BibliographyFormat format)
{
    switch (format) {
    case BibliographyFormat::Html:
        return QStringLiteral("html");
    case BibliographyFormat::Rtf:
        return QStringLiteral("rtf");
    case BibliographyFormat::Odt:
        return QStringLiteral("odt");
    case BibliographyFormat::Docx:
        return QStringLiteral("docx");
    case BibliographyFormat::Text:
        return QStringLiteral("plain");
    }
    return QStringLiteral("html");
}

// Every reference of the bibliography file is cited, in the file's order: the order that a style
// without a sort of its own keeps.
const QByteArray Document = "---\nnocite: '@*'\n---\n";

// The style's text without the sort of its bibliography: CSL then lists the entries in the order
// they are cited, which "@*" makes the basket list's. Everything else is left as written. The
// style unchanged when its bibliography has no sort.
QString withoutBibliographySort(const QString &style)
{
    QXmlStreamReader xml(style);
    int depth = 0;
    bool inBibliography = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2)
                inBibliography = xml.name() == QLatin1String("bibliography");
            if (depth != 3 || !inBibliography || xml.name() != QLatin1String("sort"))
                continue;
            // The reader stands past the sort's start tag (it may have read a little further):
            // the tag is the last one opened before, and the element ends at its end tag, or
            // with the tag itself when it is empty.
            const qsizetype start =
                style.lastIndexOf(QStringLiteral("<sort"), qsizetype(xml.characterOffset()) - 1);
            const qsizetype tagEnd = style.indexOf(u'>', start);
            if (start < 0 || tagEnd < 0)
                return style;
            qsizetype end = tagEnd + 1;
            if (style.at(tagEnd - 1) != u'/') {
                const qsizetype close = style.indexOf(QStringLiteral("</sort"), tagEnd);
                end = close < 0 ? -1 : style.indexOf(u'>', close) + 1;
            }
            if (end <= 0)
                return style;
            return style.left(start) + style.mid(end);
        }
    }
    return style;
}

// The HTML of pandoc with its small capitals written where a word processor and Qt read them:
// pandoc marks them with a class that only its own style sheet of a whole page draws.
QByteArray withInlineSmallCaps(QByteArray html)
{
    return html.replace("<span class=\"smallcaps\">",
                        "<span class=\"smallcaps\" style=\"font-variant: small-caps\">");
}

const QString TemporaryFilesFailure =
    QStringLiteral("Les fichiers de la mise en forme ne peuvent pas être écrits dans le dossier "
                   "temporaire.");

const QString StoppedEarly =
    QStringLiteral("pandoc s'est arrêté avant d'avoir mis en forme les références.");

QString notStarted(const QString &pandoc)
{
    return QStringLiteral("Le programme pandoc (« %1 ») n'a pas pu être lancé.")
        .arg(QDir::toNativeSeparators(pandoc));
}

bool writeFile(const QString &file, const QByteArray &bytes)
{
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
}

// The end of what pandoc said on failing, short enough for a message.
QString lastWords(const QByteArray &errors)
{
    QString text = QString::fromUtf8(errors).trimmed();
    constexpr qsizetype Limit = 600;
    if (text.size() > Limit)
        text = QStringLiteral("…") + text.right(Limit);
    return text;
}

} // namespace

QString findPandoc()
{
    return QStandardPaths::findExecutable(QStringLiteral("pandoc"));
}

QString bibliographyToolsMissing(const QString &pandoc, const QStringList &styleFolders)
{
    if (pandoc.isEmpty() || !QFileInfo(pandoc).isExecutable())
        return PandocMissingMessage;
    if (!hasCitationStyles(styleFolders))
        return StylesMissingMessage;
    return {};
}

QString termsLocale(TermsLanguage language)
{
    return language == TermsLanguage::English ? QStringLiteral("en-US") : QStringLiteral("fr-FR");
}

const std::vector<BibliographyFileType> &bibliographyFileTypes()
{
    static const std::vector<BibliographyFileType> types = {
        {BibliographyFormat::Html, QStringLiteral("Page HTML (.html)"), QStringLiteral("html")},
        {BibliographyFormat::Rtf, QStringLiteral("Texte enrichi RTF (.rtf)"),
         QStringLiteral("rtf")},
        {BibliographyFormat::Odt, QStringLiteral("Texte OpenDocument (.odt)"),
         QStringLiteral("odt")},
        {BibliographyFormat::Docx, QStringLiteral("Document Word (.docx)"), QStringLiteral("docx")},
    };
    return types;
}

const BibliographyFileType &bibliographyFileType(BibliographyFormat format)
{
    const auto &types = bibliographyFileTypes();
    const auto it =
        std::find_if(types.begin(), types.end(),
                     [format](const BibliographyFileType &t) { return t.format == format; });
    return it != types.end() ? *it : types.front();
}

std::optional<BibliographyFormat> bibliographyFormatOfFile(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix();
    if (suffix.isEmpty())
        return BibliographyFormat::Html;
    for (const BibliographyFileType &type : bibliographyFileTypes()) {
        if (type.extension.compare(suffix, Qt::CaseInsensitive) == 0)
            return type.format;
    }
    if (suffix.compare(QStringLiteral("htm"), Qt::CaseInsensitive) == 0)
        return BibliographyFormat::Html;
    return std::nullopt;
}

QString withBibliographyExtension(const QString &file, BibliographyFormat format)
{
    const QString wanted = bibliographyFileType(format).extension;
    const QString suffix = QFileInfo(file).suffix();
    if (suffix.compare(wanted, Qt::CaseInsensitive) == 0)
        return file;
    if (!suffix.isEmpty() && bibliographyFormatOfFile(file))
        return file.chopped(suffix.size()) + wanted;
    return file + u'.' + wanted;
}

int bibliographyTimeLimitMs(int references)
{
    return 30000 + 20 * std::max(references, 0);
}

// ---------------------------------------------------------------------------------------------

BibliographyTask::BibliographyTask(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BibliographyTask::timedOut);
}

BibliographyTask::~BibliographyTask()
{
    stopChild();
}

bool BibliographyTask::start(const QString &pandoc, const BasketExport &references,
                             const BibliographyRequest &request, int timeLimitMs)
{
    if (isRunning())
        cancel();
    m_pandoc = pandoc;
    m_request = request;
    m_result = Bibliography{};
    m_result.count = int(references.references.size());
    m_failure.clear();
    m_stage = 0;
    m_outcome = Outcome::Failed;
    if (pandoc.isEmpty() || !QFileInfo(pandoc).isExecutable()) {
        m_failure = PandocMissingMessage;
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    const QDir dir(m_dir->path());
    // pandoc's data folder, empty: neither the user's templates nor reference documents change
    // what is written.
    const bool prepared =
        m_dir->isValid() && dir.mkpath(QStringLiteral("pandoc")) &&
        writeFile(dir.filePath(QStringLiteral("document.md")), Document) &&
        writeFile(dir.filePath(QStringLiteral("references.json")), WriteCslJson(references));
    if (!prepared) {
        m_failure = TemporaryFilesFailure;
        m_dir.reset();
        return false;
    }
    QString style = request.styleFile;
    if (request.order == BibliographyOrder::Basket) {
        QFile in(request.styleFile);
        if (!in.open(QIODevice::ReadOnly)) {
            m_failure = QStringLiteral("Le style « %1 » ne peut pas être lu.")
                            .arg(QDir::toNativeSeparators(request.styleFile));
            m_dir.reset();
            return false;
        }
        style = dir.filePath(QStringLiteral("style.csl"));
        if (!writeFile(style, withoutBibliographySort(QString::fromUtf8(in.readAll())).toUtf8())) {
            m_failure = TemporaryFilesFailure;
            m_dir.reset();
            return false;
        }
    }
    m_twoForms =
        request.withText && request.format == BibliographyFormat::Html && !request.document;
    QStringList arguments = {
        dir.filePath(QStringLiteral("document.md")),
        QStringLiteral("--from=markdown"),
        QStringLiteral("--to=") + (m_twoForms ? QStringLiteral("json") : writerOf(request.format)),
        QStringLiteral("--citeproc"),
        QStringLiteral("--bibliography=") + dir.filePath(QStringLiteral("references.json")),
        QStringLiteral("--csl=") + style,
        QStringLiteral("--metadata=lang:") + termsLocale(request.language)};
    if (request.document) {
        arguments << QStringLiteral("--standalone");
        if (!request.title.isEmpty())
            arguments << QStringLiteral("--metadata=pagetitle:") + request.title;
    }
    m_timeLimitMs = timeLimitMs;
    m_deadline = QDeadlineTimer(timeLimitMs);
    m_timer.start(timeLimitMs);
    m_outcome = Outcome::Running;
    runStage(arguments);
    return true;
}

void BibliographyTask::runStage(const QStringList &arguments)
{
    ++m_stage;
    const QDir dir(m_dir->path());
    auto *process = new QProcess(this);
    process->setProgram(m_pandoc);
    process->setArguments(arguments + QStringList{QStringLiteral("--wrap=none"),
                                                  QStringLiteral("--data-dir=") +
                                                      dir.filePath(QStringLiteral("pandoc")),
                                                  QStringLiteral("--output=-")});
    process->setWorkingDirectory(m_dir->path());
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, &BibliographyTask::stageFinished);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A child that ended badly is told by its end; one that never started, here.
        if (error == QProcess::FailedToStart && isRunning())
            end(Outcome::Failed, notStarted(m_pandoc));
    });
    m_process = process;
    process->start();
}

void BibliographyTask::stageFinished()
{
    QProcess *process = m_process;
    if (!process || sender() != process || !isRunning())
        return;
    m_process = nullptr;
    process->deleteLater();
    if (process->exitStatus() != QProcess::NormalExit) {
        end(Outcome::Failed, StoppedEarly);
        return;
    }
    if (process->exitCode() != 0) {
        const QString said = lastWords(process->readAllStandardError());
        end(Outcome::Failed,
            QStringLiteral("pandoc n'a pas pu mettre en forme les références") +
                (said.isEmpty() ? QStringLiteral(".") : QStringLiteral(" : ") + said));
        return;
    }
    const QByteArray output = process->readAllStandardOutput();
    const QString ast = QDir(m_dir->path()).filePath(QStringLiteral("bibliography.json"));
    if (m_twoForms && m_stage == 1) {
        // The references formatted once, as pandoc's document; written from it as HTML, then as
        // plain text, each as pandoc's citeproc would write it.
        if (!writeFile(ast, output)) {
            end(Outcome::Failed, TemporaryFilesFailure);
            return;
        }
        runStage({ast, QStringLiteral("--from=json"), QStringLiteral("--to=html")});
        return;
    }
    if (!m_twoForms || m_stage == 2) {
        const bool fragment = m_request.format == BibliographyFormat::Html && !m_request.document;
        m_result.output = fragment ? withInlineSmallCaps(output) : output;
        if (m_twoForms) {
            runStage({ast, QStringLiteral("--from=json"), QStringLiteral("--to=plain")});
            return;
        }
    } else {
        m_result.text = QString::fromUtf8(output).trimmed();
    }
    end(Outcome::Done);
}

void BibliographyTask::timedOut()
{
    if (!isRunning())
        return;
    stopChild();
    end(Outcome::Failed,
        QStringLiteral("pandoc n'a pas fini de mettre en forme les références en %1 s : la mise "
                       "en forme est arrêtée.")
            .arg((m_timeLimitMs + 999) / 1000));
}

void BibliographyTask::cancel()
{
    if (!isRunning())
        return;
    stopChild();
    end(Outcome::Cancelled);
}

void BibliographyTask::waitForEnd()
{
    while (isRunning()) {
        QProcess *process = m_process;
        if (!process) {
            end(Outcome::Failed, StoppedEarly);
            return;
        }
        const qint64 left = m_deadline.remainingTime();
        if (left == 0) {
            timedOut();
            return;
        }
        if (!process->waitForFinished(left < 0 || left > INT_MAX ? -1 : int(left)) && isRunning() &&
            process == m_process) {
            // Not started, or the time is up.
            if (process->state() == QProcess::NotRunning)
                end(Outcome::Failed, notStarted(m_pandoc));
            else
                timedOut();
        }
    }
}

void BibliographyTask::stopChild()
{
    m_timer.stop();
    if (!m_process)
        return;
    QProcess *process = m_process;
    m_process = nullptr;
    disconnect(process, nullptr, this, nullptr);
    process->kill();
    process->waitForFinished(5000); // reaped, never left a zombie
    process->deleteLater();
}

void BibliographyTask::end(Outcome outcome, const QString &failure)
{
    m_timer.stop();
    m_outcome = outcome;
    m_failure = failure;
    if (outcome != Outcome::Done)
        m_result.output.clear();
    if (m_process) {
        // Ended by a child that could not start: nothing of it is left to wait for.
        QProcess *process = m_process;
        m_process = nullptr;
        disconnect(process, nullptr, this, nullptr);
        process->deleteLater();
    }
    m_dir.reset();
    Q_EMIT ended();
}

Bibliography FormatBibliography(const QString &pandoc, const BasketExport &references,
                                const BibliographyRequest &request)
{
    BibliographyTask task;
    if (!task.start(pandoc, references, request,
                    bibliographyTimeLimitMs(int(references.references.size()))))
        throw ExportError(task.failure());
    task.waitForEnd();
    if (task.outcome() != BibliographyTask::Outcome::Done)
        throw ExportError(task.failure());
    return task.result();
}

Bibliography FormatRecordInStyle(const QString &pandoc, const QStringList &styleFolders,
                                 const QHash<QString, QString> &record, const QString &textsFolder,
                                 const BibliographyChoice &choice)
{
    std::optional<QString> style = citationStyleFile(choice.style, styleFolders);
    if (!style)
        style = citationStyleFile(DefaultStyleName, styleFolders);
    if (!style)
        throw ExportError(QStringLiteral("Le style « %1 » n'est pas installé.").arg(choice.style));
    QStringList values;
    for (const QString &field : Schema::referenceFields())
        values << record.value(field);
    BibliographyRequest request;
    request.styleFile = *style;
    request.language = choice.language;
    request.withText = true;
    return FormatBibliography(
        pandoc, ExportOfRecord(Schema::referenceFields(), values, textsFolder), request);
}

void CopyBibliography(const Bibliography &bibliography, Clipboard &clipboard)
{
    clipboard.setHtml(QString::fromUtf8(bibliography.output), bibliography.text);
}

BibliographyChoice ReadBibliographyChoice(const SettingsStore &store)
{
    BibliographyChoice choice;
    const QString style = ReadValue(store, BibliographySettingsKey, QStringLiteral("Style"));
    if (!style.trimmed().isEmpty())
        choice.style = style.trimmed();
    if (ReadValue(store, BibliographySettingsKey, QStringLiteral("Langue")).trimmed() ==
        QStringLiteral("en"))
        choice.language = TermsLanguage::English;
    return choice;
}

void WriteBibliographyChoice(SettingsStore &store, MessageBox &messages,
                             const BibliographyChoice &choice)
{
    const QString language =
        choice.language == TermsLanguage::English ? QStringLiteral("en") : QStringLiteral("fr");
    const std::pair<QString, QString> values[] = {{QStringLiteral("Style"), choice.style},
                                                  {QStringLiteral("Langue"), language}};
    for (const auto &[name, text] : values) {
        if (ReadValue(store, BibliographySettingsKey, name) != text)
            WriteValue(store, messages, BibliographySettingsKey, name, text);
    }
}

QString bibliographyDoneMessage(int count, const QString &file)
{
    const QString shown = QDir::toNativeSeparators(file);
    if (count == 1)
        return QStringLiteral("1 référence mise en forme dans « %1 ».").arg(shown);
    return QStringLiteral("%1 références mises en forme dans « %2 ».")
        .arg(QString::number(count), shown);
}

} // namespace ferlin
