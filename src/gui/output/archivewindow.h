#pragma once

#include "core/output/archivebuilder.h"
#include "core/output/basketprint.h"
#include "gui/shell/startuplistener.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QToolButton;

namespace ferlin {

class ScreenHost;

// The archive window (form F_Export): a basket turned into an archive document, edited as rich
// text (font, colour, bold, italics), saved to and read from Rich Text Format files, printed.
// Built once and kept for the whole run: its document and choices persist between visits.
class ArchiveWindow : public QWidget, public StartupListener {
    Q_OBJECT
public:
    explicit ArchiveWindow(ScreenHost &window);
    ~ArchiveWindow() override;

    // The file chosen in the save (export) or open (import) dialog; empty when cancelled.
    using FileNameProvider = std::function<QString()>;
    void setExportFileProvider(FileNameProvider provider) { m_exportFile = std::move(provider); }
    void setImportFileProvider(FileNameProvider provider) { m_importFile = std::move(provider); }
    // The font and colour dialogs; an empty answer when cancelled.
    using FontProvider = std::function<std::optional<QFont>(const QFont &current)>;
    using ColourProvider = std::function<std::optional<QColor>(const QColor &current)>;
    void setFontProvider(FontProvider provider) { m_chooseFont = std::move(provider); }
    void setColourProvider(ColourProvider provider) { m_chooseColour = std::move(provider); }

    // The file filter of both dialogs.
    static QString fileFilter();
    // The import dialog's filter: the archive's types, then every file.
    static QString importFileFilter();

    // Cmd_Archive, Cmd_Exporte, Cmd_Importe, Cmd_PrintArchive.
    void archiveChosenBasket();
    void exportArchive();
    void importArchive();
    void printArchive();

    // The ticks of the sixteen field boxes (a greyed box counts as unticked).
    PrintFieldSet fields() const;
    int selectedBasket() const;
    ArchiveType archiveType() const;
    QTextEdit *textBox() const { return m_text; }
    QCheckBox *fieldBox(PrintField field) const { return m_boxes[size_t(field)]; }

    // StartupListener
    void settingsLoaded(const Settings &settings) override;
    void colourTickedFieldBoxes() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    QWidget *buildChoices();
    QWidget *buildFieldsFrame();
    QWidget *buildEditBar();
    void basketChosen(int index);
    void typeChosen();
    void toggleAllFields();
    void loadTicks(const Settings &settings);
    void tickChanged(PrintField field);
    void paintBox(QCheckBox *box);
    // Fills the text box through `fill`, choosing how it wraps.
    void fillingText(const std::function<void()> &fill);
    void toggleBold();
    void toggleItalic();
    void chooseFont();
    void chooseColour();

    ScreenHost &m_window;
    QLabel *m_name = nullptr;
    std::array<QRadioButton *, 3> m_baskets{};
    std::array<QRadioButton *, 4> m_types{};
    QGroupBox *m_fieldsFrame = nullptr;
    std::array<QCheckBox *, PrintFieldCount> m_boxes{};
    // Where each box is kept in Settings::printFields.
    std::array<int, PrintFieldCount> m_settingsIndex{};
    QPushButton *m_all = nullptr;
    QPushButton *m_ticks = nullptr;
    QToolButton *m_bold = nullptr;
    QToolButton *m_italic = nullptr;
    QTextEdit *m_text = nullptr;
    FileNameProvider m_exportFile;
    FileNameProvider m_importFile;
    QString m_exportExtension = QStringLiteral("FRD"); // of the type chosen in the save dialog
    FontProvider m_chooseFont;
    ColourProvider m_chooseColour;
    bool m_loading = false;
};

} // namespace ferlin
