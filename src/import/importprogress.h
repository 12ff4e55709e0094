#pragma once

#include "import/importcatalogue.h"
#include "import/mdbrowsource.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace ferlin {

struct Platform;

// The small window that shows a conversion of the published base under way (objectName
// "F_conversion"): the table being read, the rows converted and a progress bar.
class ImportProgressWindow : public QDialog {
    Q_OBJECT

public:
    explicit ImportProgressWindow(const QString &source, QWidget *parent = nullptr);

    // Shows where the conversion stands and paints it at once.
    void showProgress(const ImportProgress &progress);

private:
    QLabel *m_table;
    QLabel *m_rows;
    QProgressBar *m_bar;
};

// Before the start-up opens the base: when the base is missing and its folder (or the
// program's folder, given when the base is the user's copy) holds the published file, converts
// that file into the base, with the progress window and the busy pointer. A failure is shown as
// the start-up shows its own (title "Ouverture avortée"), and the start-up then goes on to its
// message about the missing base. Returns true when the base was written.
bool ConvertPublishedBaseAtStartup(const QString &databasePath, Platform &platform,
                                   const RowSourceOpener &open = MdbRowSource::open,
                                   const QString &programFolder = {});

} // namespace ferlin
