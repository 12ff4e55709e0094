#pragma once

#include "core/output/basketexport.h"
#include "core/platform/messagebox.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ferlin {

class BasketChoice;
class ScreenHost;

// "Exporter un panier…" of the "Outils" menu: a basket (an empty one cannot be chosen), a
// format, for CSV the separator, and a file, then ExportBasket. A separate modal window, built on
// first use and hidden, never destroyed, after it: its choices persist for the run.
class ExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportDialog(ScreenHost &window, QWidget *parent = nullptr);

    // The file chosen in the save dialog, from a suggested one; empty when cancelled.
    using FileNameProvider = std::function<QString(const QString &suggested, ExportFormat format)>;
    void setFileProvider(FileNameProvider provider) { m_chooseFile = std::move(provider); }

    // Shows the dialog with the basket counts of the moment.
    void showWithCounts();

    int selectedBasket() const;
    ExportFormat selectedFormat() const;
    // The CSV separator chosen, ";" or ",".
    QChar selectedSeparator() const;
    // "Parcourir…" and "Exporter". The export returns true when the file was written.
    void chooseFile();
    bool exportChosen();

private:
    void build();
    void formatChosen();
    // The file typed, with the format's extension and, when relative, below the home folder.
    QString targetFile() const;
    void tell(MessageIcon icon, const QString &text);

    ScreenHost &m_window;
    BasketChoice *m_baskets = nullptr;
    std::array<QRadioButton *, ExportFormatCount> m_formats{};
    QGroupBox *m_separatorFrame = nullptr;
    std::array<QRadioButton *, 2> m_separators{};
    QLineEdit *m_file = nullptr;
    QPushButton *m_export = nullptr;
    FileNameProvider m_chooseFile;
};

} // namespace ferlin
