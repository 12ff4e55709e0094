#pragma once

#include "core/output/basketprint.h"
#include "gui/shell/startuplistener.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ferlin {

class ScreenHost;

// The print screen (form F_print): the references of the current basket printed line by line on
// the default printer (or into a PDF file when there is none), with the fields ticked here, a
// general title asked for in the dialog Print_titre and, when ticked, the search criteria.
class PrintScreen : public QWidget, public StartupListener {
    Q_OBJECT
public:
    explicit PrintScreen(ScreenHost &window);
    ~PrintScreen() override;

    // Where the print goes when there is no printer: asks the user for a PDF file name (empty
    // when cancelled). The default asks through a file dialog.
    using PdfFileChooser = std::function<QString()>;
    void setPdfFileChooser(PdfFileChooser chooser) { m_choosePdfFile = std::move(chooser); }

    // The activation of the screen: the number and count of the current basket.
    void activate();
    // Cmd_Print.
    void PrintBasket();

    // The ticks of the field boxes.
    PrintFieldSet fields() const;
    PrintType printType() const;
    QDialog *titleDialog() const { return m_titleDialog; }

    // StartupListener
    void basketCounted(int basket, int count) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void buildTitleDialog();
    void printTypeChosen();
    void toggleAllFields();
    void paintBox(QCheckBox *box);
    // Offers a PDF file when there is no printer. False when the print is given up; `pdfFile`
    // stays empty for the default printer.
    bool choosePrintDestination(QString &pdfFile);
    BasketPrintJob makeJob(int basket, int count, const QString &pdfFile);
    // Step 8: the card on the basket's first reference, brought to the front.
    void showCardOnBasket(int basket, int count);

    ScreenHost &m_window;
    QLabel *m_basketNumber = nullptr;
    QLabel *m_count = nullptr;
    std::array<QLabel *, 3> m_counts{};
    std::array<QRadioButton *, PrintTypeCount> m_types{};
    QGroupBox *m_fieldsFrame = nullptr;
    QLabel *m_fieldsLabel = nullptr;
    // The fifteen boxes of the print screen, in PrintField order (Numbering excluded).
    std::array<QCheckBox *, PrintFieldCount - 1> m_boxes{};
    QPushButton *m_all = nullptr;
    QPushButton *m_print = nullptr;
    QDialog *m_titleDialog = nullptr;
    QLineEdit *m_generalTitle = nullptr;
    PdfFileChooser m_choosePdfFile;
    bool m_activationWired = false;
};

} // namespace ferlin
