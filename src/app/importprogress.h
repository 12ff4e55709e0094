#pragma once

#include "core/import/childjetsource.h"
#include "core/import/importcatalogue.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace ferlin {

struct Platform;

// The small window that shows a conversion of the published base under way (objectName
// "F_conversion"): the table being read, the rows converted, a progress bar and "Annuler" (the
// close button does the same).
class ImportProgressWindow : public QDialog {
    Q_OBJECT

public:
    explicit ImportProgressWindow(const QString &source, QWidget *parent = nullptr);

    // Shows where the conversion stands and paints it at once.
    void showProgress(const ImportProgress &progress);
    // Repaints the window and takes the user's clicks while the file is read; false once the
    // user has cancelled.
    bool keepGoing();
    bool cancelled() const { return m_cancelled; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    QLabel *m_table;
    QLabel *m_rows;
    QProgressBar *m_bar;
    bool m_cancelled = false;
};

// Before the start-up opens the base: when the base is missing and its folder (or the
// program's folder, given when the base is the user's copy) holds the published file, converts
// that file into the base, with the progress window and the busy pointer. A failure is shown as
// the start-up shows its own (title "Ouverture avortée"), and the start-up then goes on to its
// message about the missing base. The file is read in a child process; "Annuler" stops it at
// once. A file that failed for what it holds is remembered, and the next start says so at once
// with the way to try again. Returns true when the base was written.
bool ConvertPublishedBaseAtStartup(const QString &databasePath, Platform &platform,
                                   const RowSourceOpener &open = openPublishedBase,
                                   const QString &programFolder = {});

} // namespace ferlin
