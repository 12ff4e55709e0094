#pragma once

#include "core/baskets/basketoperations.h"
#include "gui/shell/screenviews.h"
#include "gui/shell/startuplistener.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace ferlin {

class AddPanel;
class ScreenHost;
class NavigationPanel;
struct AppContext;

// The record card (form F_formul): one reference at a time, over the whole base (mode 1) or a
// basket (mode 2), with the rank line, the four moves, the go-to panel, the add panels and the
// removal from the basket browsed.
class RecordCard : public QWidget, public CardView, public StartupListener, public BasketViews {
    Q_OBJECT
public:
    // The card is designed on a canvas of 9600 by 8400 twips, scaled to the screen.
    static constexpr int DesignWidth = 9600;
    static constexpr int DesignHeight = 8400;
    static constexpr int MinimumWidth = 800;
    static constexpr int MinimumHeight = 540;

    explicit RecordCard(ScreenHost &window);
    ~RecordCard() override;

    // Mode 1: the whole base from `position`, brought to the front. Mode 2: the basket whose set
    // the caller has loaded, holding `count` references, from `position`.
    void OpenCard(int mode, int basket, int count, int position) override;
    void UpdateRankLine(int mode, int position, int count);
    void ShowEmptyBasketCard(int basket) override;
    // Shows the fields of the current row of the card's set (blank when there is none).
    void refresh();

    BasketOperations &basketOperations() override { return *m_operations; }
    bool summaryIsLarge() const { return m_summaryLarge; }

    // Commands that other screens provide: "Retour à la liste", "Texte" and the clipboard.
    void setReturnToList(std::function<void()> action) { m_returnToList = std::move(action); }
    void setTextAction(std::function<void()> action);
    void setClipboardAction(std::function<void()> action);

    // StartupListener
    void setStartupTexts() override;
    // BasketViews
    void rankLineChanged(int mode, int position, int count) override;
    void basketShownEmpty(int basket) override;
    void publishCounts() override;
    void bringIntroToFront() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    // The clipboard button's pop-up menu and the copy of a selection (cardclipboard.cpp).
    void buildClipboard();
    void showClipboardMenu();
    void copyReference(bool withAuthorsAndSummary);
    QGroupBox *addFrame(const char *name, const QString &caption, QWidget *content,
                        const QRect &twips);
    QLabel *addFieldLabel(const char *frameName, const QString &caption, const char *labelName,
                          const QRect &twips);
    void placeAll();
    void applyMode(int mode, int basket);
    void setSummaryLarge(bool large);
    void toggleSubtitle();
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    void afterMove();
    void showNavigation();
    void showAddFromBase();
    void showAddFromBasket();
    void addChosenBasket(AddPanel *panel, int basket);
    void removeShownReference();
    void goToRequested();

    ScreenHost &m_window;
    AppContext &m_context;
    std::unique_ptr<BasketOperations> m_operations;
    QHash<QWidget *, QRect> m_twips; // design geometry of each placed widget, in twips
    QHash<QString, QLabel *> m_fields;
    QPlainTextEdit *m_title = nullptr;
    QPlainTextEdit *m_subtitle = nullptr;
    QPlainTextEdit *m_summary = nullptr;
    QGroupBox *m_subtitleFrame = nullptr;
    QGroupBox *m_summaryFrame = nullptr;
    QLabel *m_subtitleLink = nullptr;
    QLabel *m_rankLine = nullptr;
    QLabel *m_modeLabel = nullptr;
    QLabel *m_rangCaption = nullptr;
    QLabel *m_rang = nullptr;
    QLabel *m_fullText = nullptr;
    QLabel *m_disc = nullptr;
    QToolButton *m_first = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    QPushButton *m_navigate = nullptr;
    QPushButton *m_text = nullptr;
    QToolButton *m_clipboard = nullptr;
    QPushButton *m_addFromBase = nullptr;
    QPushButton *m_addFromBasket = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_backToList = nullptr;
    QMenu *m_clipboardMenu = nullptr;
    NavigationPanel *m_navigation = nullptr;
    AddPanel *m_addPanel = nullptr;
    AddPanel *m_addPanelBasket = nullptr;
    bool m_summaryLarge = false;
    std::function<void()> m_returnToList;
    std::function<void()> m_textAction;
    std::function<void()> m_clipboardAction;
};

} // namespace ferlin
