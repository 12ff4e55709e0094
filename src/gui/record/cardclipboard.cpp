// The record card's clipboard: the pop-up menu of the clipboard button and the copy of the
// text selected in the title, subtitle or summary box.
#include "core/context/appcontext.h"
#include "core/record/cardbrowser.h"
#include "core/record/clipboardtext.h"
#include "gui/record/recordcard.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>

namespace ferlin {

namespace {

// Where the menu opens, in the card's design twips.
const QPoint MenuPlace(250, 6000);

// Puts a text box's selection on the clipboard whenever a mouse button is released over it.
class SelectionCopier : public QObject {
public:
    SelectionCopier(QPlainTextEdit *box, Clipboard &clipboard, QObject *parent)
        : QObject(parent), m_box(box), m_viewport(box->viewport()), m_clipboard(clipboard)
    {
        m_viewport->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Only mouse events of the viewport: other events come even while the box is destroyed.
        const bool press = event->type() == QEvent::MouseButtonPress;
        const bool release = event->type() == QEvent::MouseButtonRelease;
        if (!(press || release) || watched != m_viewport)
            return QObject::eventFilter(watched, event);
        if (press) {
            // A click inside the selection would keep it (the start of a drag): a click
            // empties it wherever it falls.
            const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
            QTextCursor cursor = m_box->textCursor();
            if (cursor.hasSelection()) {
                cursor.setPosition(m_box->cursorForPosition(at).position());
                m_box->setTextCursor(cursor);
            }
        } else {
            m_clipboard.setText(m_box->textCursor().selection().toPlainText());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPlainTextEdit *m_box;
    QObject *m_viewport;
    Clipboard &m_clipboard;
};

} // namespace

void RecordCard::buildClipboard()
{
    m_clipboardMenu = new QMenu(QStringLiteral("Presse-papier"), this);
    m_clipboardMenu->setObjectName(QStringLiteral("Mnu_pressePapier"));
    QAction *shortForm =
        m_clipboardMenu->addAction(QStringLiteral("Copie référence bibliographique"));
    shortForm->setObjectName(QStringLiteral("Mnu_CopieRef"));
    QAction *longForm =
        m_clipboardMenu->addAction(QStringLiteral("Copie référence + auteurs + résumé"));
    longForm->setObjectName(QStringLiteral("Mnu_Refresume"));
    connect(shortForm, &QAction::triggered, this, [this] { copyReference(false); });
    connect(longForm, &QAction::triggered, this, [this] { copyReference(true); });
    setClipboardAction([this] { showClipboardMenu(); });

    for (QPlainTextEdit *box : {m_title, m_subtitle, m_summary})
        new SelectionCopier(box, m_context.platform.clipboard, this);
}

void RecordCard::showClipboardMenu()
{
    // Scaled as the card scales its design.
    const QPoint place(qRound(MenuPlace.x() * double(width()) / DesignWidth),
                       qRound(MenuPlace.y() * double(height()) / DesignHeight));
    m_clipboardMenu->popup(mapToGlobal(place));
}

void RecordCard::copyReference(bool withAuthorsAndSummary)
{
    // The values of the reference shown, from the record: the boxes show its line breaks
    // otherwise than they are stored.
    const QHash<QString, QString> values = m_context.card.currentValues();
    auto value = [&values](const char *name) { return values.value(QString::fromUtf8(name)); };
    CardReference reference;
    reference.title = value("Titre");
    reference.number = value("Numéro");
    reference.volume = value("Volume");
    reference.month = value("Mois");
    reference.year = value("An");
    reference.page = value("Page");
    reference.authors = value("Auteur");
    reference.summary = value("Resume");
    m_context.platform.clipboard.setText(withAuthorsAndSummary ? LongReferenceText(reference)
                                                               : ShortReferenceText(reference));
}

} // namespace ferlin
