#pragma once

#include <QDialog>
#include <QStringList>

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;

namespace ferlin {

class ScreenHost;
struct KeywordChoice;

// Shared by the pickers: the row of the first entry of `list` that begins with `typed` (trimmed,
// case ignored), looking from the second entry to the end and then at the first; -1 when none.
int firstEntryBeginningWith(const QListWidget &list, const QString &typed);
// Highlights that entry and scrolls to it, without choosing it; leaves the list alone when none.
void highlightFirstEntryBeginningWith(QListWidget &list, const QString &typed);

// The keyword picker (form Clesfr): a first keyword, then keywords joined by ET, OU or SAUF, at
// most KeywordLimit in all, chosen from the base's keyword list. The choice lives in the run
// state (RunState::keywords), which the search reads; "Suite" copies it to the search screen.
// Built on first use, hidden after use, never destroyed.
class KeywordPicker : public QDialog {
    Q_OBJECT
public:
    explicit KeywordPicker(ScreenHost &window, QWidget *parent = nullptr);

    // KeywordCount.
    int keywordCount() const;

    // The caption of a joined-keyword label of the search screen: each keyword followed by a
    // line feed and one blank; nothing for no keyword.
    static QString joinedCaption(const QStringList &words);
    // The counter text for n keywords (" Pas de mot sélectionné.", " 1 mot sélectionné.", ...).
    static QString counterText(int count);

    // Click on keyword `word` of List1.
    void chooseKeyword(const QString &word);
    // Click on Lab_mot1.
    void removeFirstKeyword();
    // "Suite": copies the choice to the search screen and hides the picker.
    void copyChoice();

    // Closing the window any other way also leaves the search screen showing the choice.
    void reject() override;

Q_SIGNALS:
    // The captions of Lab_cle1, Lab_cle_et, Lab_cle_ou and Lab_cle_sauf.
    void choiceCopied(const QString &first, const QString &et, const QString &ou,
                      const QString &sauf);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeywordChoice &choice() const;
    QStringList &joinedList(int option) const;
    void removeJoined(int option, QListWidgetItem *item);
    void chooseOption(int option);
    // Redraws the first keyword, the joined lists and what is visible from the choice.
    void showChoice();
    void showCounter();

    ScreenHost &m_window;
    QListWidget *m_keywords;
    QListWidget *m_seeAlso;
    QLineEdit *m_typed;
    QLabel *m_first;
    QLabel *m_counter;
    QButtonGroup *m_optionGroup;
    std::array<QRadioButton *, 3> m_options{};
    std::array<QListWidget *, 3> m_joined{};
};

} // namespace ferlin
