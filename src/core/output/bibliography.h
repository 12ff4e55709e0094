#pragma once

#include "core/output/citationstyles.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class QProcess;
class QTemporaryDir;

namespace ferlin {

struct BasketExport;
class Clipboard;
class MessageBox;
class SettingsStore;

// ---------------------------------------------------------------------------------------------
// Bibliographies in the standard citation styles. The formatting is pandoc's citeproc's, never
// ours: the references are written as the CSL JSON of the export, and pandoc, run as a child
// process under a time limit, formats them in a CSL style (output/citationstyles.h) into HTML,
// plain text, RTF, ODT or DOCX.

inline const QString PandocMissingMessage =
    QStringLiteral("La mise en forme des références demande le programme pandoc : installez le "
                   "paquet pandoc.");
inline const QString StylesMissingMessage =
    QStringLiteral("La mise en forme des références demande les styles de citation CSL : "
                   "installez le paquet citation-style-language-styles.");

// pandoc as found on the PATH at this moment; empty when it is not there.
QString findPandoc();
// What keeps references from being formatted, told in French (pandoc first, then the styles);
// empty when nothing does.
QString bibliographyToolsMissing(const QString &pandoc, const QStringList &styleFolders);

// The language of the terms a style writes ("s. d.", "et al.", "p." or "n.d.", "et al.", "p.").
enum class TermsLanguage { French, English };
// The locale pandoc is given: "fr-FR" or "en-US".
QString termsLocale(TermsLanguage language);

// The order of the references: the style's own (by author and date, or by number), or the
// basket list's.
enum class BibliographyOrder { Style, Basket };

// What pandoc writes. Text is plain text, one reference a paragraph; the others are the types
// a bibliography is saved as.
enum class BibliographyFormat { Html, Rtf, Odt, Docx, Text };
struct BibliographyFileType {
    BibliographyFormat format;
    QString caption;   // as the dialog shows it: "Page HTML (.html)"
    QString extension; // without its dot: "html"
};
// The types a bibliography is saved as, in the dialog's order: HTML, RTF, ODT, DOCX.
const std::vector<BibliographyFileType> &bibliographyFileTypes();
const BibliographyFileType &bibliographyFileType(BibliographyFormat format);
// The type a file's extension names, without regard to case; HTML for a name without an
// extension; nothing for any other extension.
std::optional<BibliographyFormat> bibliographyFormatOfFile(const QString &file);
// The file with the type's extension: another type's extension is replaced, any other name gets
// it added ("liste" and "liste.rtf" give "liste.odt" for ODT; "LISTE.ODT" stays).
QString withBibliographyExtension(const QString &file, BibliographyFormat format);

struct BibliographyRequest {
    QString styleFile; // the CSL file
    TermsLanguage language = TermsLanguage::French;
    BibliographyOrder order = BibliographyOrder::Style;
    BibliographyFormat format = BibliographyFormat::Html;
    // A whole document, to be saved as a file (with `title` as an HTML page's title); otherwise
    // a fragment, to be shown or put on the clipboard.
    bool document = false;
    QString title;
    // With an HTML fragment, its plain text as well (the clipboard's two forms).
    bool withText = false;
};

struct Bibliography {
    QByteArray output; // in the format asked for, UTF-8 for the text formats
    QString text;      // the plain text, when asked for
    int count = 0;     // the references formatted
};

// The choices of the last bibliography, kept in the settings under "Software\Ferlin\Bibliographie"
// ("Style", the style's name; "Langue", "fr" or "en").
struct BibliographyChoice {
    QString style = DefaultStyleName;
    TermsLanguage language = TermsLanguage::French;
};
inline const QString BibliographySettingsKey = QStringLiteral("Software\\Ferlin\\Bibliographie");
BibliographyChoice ReadBibliographyChoice(const SettingsStore &store);
// Stores what differs from the stored choice; a store that cannot be written is told.
void WriteBibliographyChoice(SettingsStore &store, MessageBox &messages,
                             const BibliographyChoice &choice);

// How long pandoc may take for so many references: 30 s and 20 ms a reference.
int bibliographyTimeLimitMs(int references);

// One formatting by pandoc, run in child processes: the format asked for; or, for the HTML and
// its plain text, pandoc's document once, then each form written from it.
// Asynchronous (ended() at the end) or waited for (waitForEnd(), without an event loop). Cancel
// and the time limit kill the child; the object's end kills one still running.
class BibliographyTask : public QObject {
    Q_OBJECT
public:
    enum class Outcome { None, Running, Done, Failed, Cancelled };

    explicit BibliographyTask(QObject *parent = nullptr);
    ~BibliographyTask() override;

    // Starts formatting; a task running is cancelled first. False, with failure(), when it
    // could not start (the style unreadable, no temporary folder); ended() then never comes.
    bool start(const QString &pandoc, const BasketExport &references,
               const BibliographyRequest &request, int timeLimitMs);
    // Kills the child; the outcome is Cancelled and ended() comes before this returns.
    void cancel();
    // Waits for the end, the time limit included.
    void waitForEnd();

    bool isRunning() const { return m_outcome == Outcome::Running; }
    Outcome outcome() const { return m_outcome; }
    const Bibliography &result() const { return m_result; }
    // Why it failed, in French.
    const QString &failure() const { return m_failure; }

Q_SIGNALS:
    void ended();

private:
    void runStage(const QStringList &arguments);
    void stageFinished();
    void timedOut();
    void stopChild();
    void end(Outcome outcome, const QString &failure = {});

    QString m_pandoc;
    BibliographyRequest m_request;
    std::unique_ptr<QTemporaryDir> m_dir;
    QPointer<QProcess> m_process;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
    int m_timeLimitMs = 0;
    int m_stage = 0;
    bool m_twoForms = false; // the HTML and its plain text
    Outcome m_outcome = Outcome::None;
    Bibliography m_result;
    QString m_failure;
};

// Formats the references and waits for it: the command line, the card's copy. Throws
// ExportError with the reason in French.
Bibliography FormatBibliography(const QString &pandoc, const BasketExport &references,
                                const BibliographyRequest &request);

// One record (its fields by name, as the record card gives its reference) formatted in the
// style `choice` names, or in APA 7 when that one is not installed: an HTML fragment with its
// plain text. Throws ExportError.
Bibliography FormatRecordInStyle(const QString &pandoc, const QStringList &styleFolders,
                                 const QHash<QString, QString> &record, const QString &textsFolder,
                                 const BibliographyChoice &choice);

// Puts a bibliography on the clipboard: its HTML as HTML, its plain text as text.
void CopyBibliography(const Bibliography &bibliography, Clipboard &clipboard);

// "12 références mises en forme dans « liste.html »."
QString bibliographyDoneMessage(int count, const QString &file);

} // namespace ferlin
