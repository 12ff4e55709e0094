#pragma once

#include "core/output/bibliography.h"
#include "core/platform/messagebox.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTextBrowser;

namespace ferlin {

class BasketChoice;
class ScreenHost;

// "Bibliographie d'un panier…" of the "Outils" menu (BibliographiePanier): a basket (an empty
// one cannot be chosen), a citation style from a list with a filter, the language of the terms,
// the order, a preview of the basket's first references, then "Enregistrer…" (HTML, RTF, ODT or
// DOCX) or "Copier" (HTML and plain text). pandoc formats them in a child process while a busy
// bar and "Arrêter" show. A separate modal window, built on first use and hidden, never
// destroyed, after it; the style and the language chosen are kept in the settings.
class BibliographyDialog : public QDialog {
    Q_OBJECT
public:
    // The references the preview shows.
    static constexpr int PreviewCount = 5;

    explicit BibliographyDialog(ScreenHost &window, QWidget *parent = nullptr);
    ~BibliographyDialog() override;

    // The file chosen in the save dialog, from a suggested one; empty when cancelled.
    using FileNameProvider =
        std::function<QString(const QString &suggested, BibliographyFormat format)>;
    void setFileProvider(FileNameProvider provider) { m_chooseFile = std::move(provider); }

    // Shows the dialog with the basket counts of the moment; when pandoc or the styles are
    // missing, says so instead and returns false.
    bool showWithCounts();

    int selectedBasket() const;
    // The style chosen (its file name without ".csl"); empty when none is.
    QString selectedStyle() const;
    TermsLanguage selectedLanguage() const;
    BibliographyOrder selectedOrder() const;
    BibliographyFormat selectedFileType() const;
    // Whether a preview or a formatting is under way or about to start.
    bool isBusy() const;

    // "Copier" and "Enregistrer…": start the formatting; the end tells the rest.
    void copyChosen();
    void saveChosen();
    // "Arrêter".
    void stop();

Q_SIGNALS:
    // A preview shown, a copy or a file written, a failure told or a stop: the work has ended.
    void workEnded();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    enum class Work { None, Copy, Save };

    void build();
    void fillStyles();
    void filterStyles(const QString &filter);
    void choiceChanged();
    void startPreview();
    void previewEnded();
    bool startWork(Work work, const BibliographyRequest &request);
    void workFinished();
    void setRunning(bool running, int count = 0);
    void rememberChoice();
    void tell(MessageIcon icon, const QString &text);
    BibliographyRequest request(BibliographyFormat format) const;
    QString styleCaption() const;

    ScreenHost &m_window;
    QString m_pandoc;
    std::vector<CitationStyle> m_styles;
    BasketChoice *m_baskets = nullptr;
    QLineEdit *m_filter = nullptr;
    QListWidget *m_styleList = nullptr;
    std::array<QRadioButton *, 2> m_languages{};
    std::array<QRadioButton *, 2> m_orders{};
    QTextBrowser *m_preview = nullptr;
    QLabel *m_state = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stop = nullptr;
    QComboBox *m_fileType = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_close = nullptr;
    QList<QWidget *> m_choices; // disabled while a formatting runs
    QTimer m_previewDelay;
    BibliographyTask m_previewTask;
    BibliographyTask m_task;
    Work m_work = Work::None;
    QString m_file; // where a save writes
    FileNameProvider m_chooseFile;
};

} // namespace ferlin
