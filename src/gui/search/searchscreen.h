#pragma once

#include "core/search/criteria.h"
#include "gui/shell/startuplistener.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <array>
#include <initializer_list>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QFrame;

namespace ferlin {

class AuthorPicker;
class KeywordPicker;
class ScreenHost;
class SearchRunner;
struct AppContext;

// The search screen (form Selecfr): the criteria of a search, the source, the destination
// basket and the placement, and "Recherche". A criterion's inputs are visible only while its
// box is ticked; a box, option or label that is on has its caption in blue, off in grey.
class SearchScreen : public QWidget, public StartupListener {
    Q_OBJECT
public:
    explicit SearchScreen(ScreenHost &window);
    ~SearchScreen() override;

    // What the screen holds now (the keywords themselves are the picker's: RunState::keywords).
    SelectionCriteria criteria() const;
    // The copy of the keywords shown on the screen, read by prints and archives.
    QString keywordCaption(const char *labelName) const;

    void startSearch();
    void cancelAll();

    // StartupListener: the lists and the counts, when the screen exists before the start-up.
    void lookupListLoaded(LookupList list, const QStringList &values) override;
    void basketCounted(int basket, int count) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A search under way is stopped: its result is of no use to a closed screen.
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    QCheckBox *addCriterion(const char *name, const QString &caption, QList<QWidget *> inputs);
    void criterionToggled(QCheckBox *box);
    // A pick list opened or closed by its caption (a click, Space or Enter on it).
    void togglePickList(QListWidget *list, QLabel *caption);
    void closePickList(QListWidget *list, QLabel *caption);
    // The caption that opens `list`, or nullptr when it is not a pick list.
    QLabel *captionOfList(QObject *list) const;
    // The Tab order: the reading order of the screen, a criterion's box before its inputs.
    void setReadingOrder(std::initializer_list<QWidget *> controls);
    void setSource(const QString &source);
    void chooseDestination(int index);
    void choosePlacement(int index);
    // Keeps the run state's copy of the criteria and keyword captions current.
    void publishCriteria();
    void openKeywordPicker();
    void toggleAuthorPicker();
    KeywordPicker *keywordPicker();
    AuthorPicker *authorPicker();

    ScreenHost &m_window;
    AppContext &m_context;
    std::unique_ptr<SearchRunner> m_runner;
    QPointer<KeywordPicker> m_keywordPicker; // Clesfr, built when first opened
    QPointer<AuthorPicker> m_authorPicker;   // F_auteur
    QHash<QCheckBox *, QList<QWidget *>> m_inputs;
    QList<QCheckBox *> m_criteria;
    QCheckBox *m_keywords = nullptr;
    QCheckBox *m_years = nullptr;
    QCheckBox *m_bulletin = nullptr;
    QCheckBox *m_level = nullptr;
    QCheckBox *m_author = nullptr;
    QCheckBox *m_pointOfView = nullptr;
    QCheckBox *m_domain = nullptr;
    QCheckBox *m_reference = nullptr;
    QCheckBox *m_freeText = nullptr;
    QFrame *m_keywordShape = nullptr;
    QLineEdit *m_yearFrom = nullptr;
    QLineEdit *m_yearTo = nullptr;
    QLineEdit *m_bulletinNumber = nullptr;
    QLineEdit *m_referenceText = nullptr;
    QLineEdit *m_freeTextValue = nullptr;
    QLabel *m_levelLabel = nullptr;
    QLabel *m_authorLabel = nullptr;
    QLabel *m_pointOfViewLabel = nullptr;
    QLabel *m_domainLabel = nullptr;
    QListWidget *m_levelList = nullptr;
    QListWidget *m_pointOfViewList = nullptr;
    QListWidget *m_domainList = nullptr;
    QListWidget *m_sourceList = nullptr;
    std::array<QLabel *, 3> m_headings{};
    std::array<QLabel *, 4> m_keywordLabels{};
    QRadioButton *m_wordMode = nullptr;
    QRadioButton *m_stringMode = nullptr;
    QCheckBox *m_inTitle = nullptr;
    QCheckBox *m_inSummary = nullptr;
    QCheckBox *m_inKeywords = nullptr;
    std::array<QRadioButton *, 3> m_destinations{};
    std::array<QRadioButton *, 2> m_placements{};
    std::array<QLabel *, 3> m_counts{};
};

} // namespace ferlin
