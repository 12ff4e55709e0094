#pragma once

#include "core/fulltext/fulltextquery.h"
#include "core/fulltext/textindex.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

namespace ferlin {

class FullTextResultModel;
class ScreenHost;
class SearchRunner;

class TextIndexer;
class TextSearch;
struct IndexingReport;

// "Recherche dans les textes intégraux" (form F_TextesIntegraux), from the "Outils" menu: words
// sought in the articles' texts through the text index, the pages found by relevance with an
// extract, a page opened in the PDF viewer, the references placed in a basket as a search's;
// and the index, brought up to date in the background from the texts that can be read now.
class FullTextScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString Name = QStringLiteral("F_TextesIntegraux");
    static inline const QString Title = QStringLiteral("Recherche dans les textes intégraux");

    explicit FullTextScreen(ScreenHost &window);
    ~FullTextScreen() override;

    // "Rechercher": the query typed, the pages found listed.
    void search();
    // Double-click or Enter on a page found: the article's PDF at that page.
    void openResult(int row);
    // "Placer dans le panier": every reference found, into the basket chosen.
    void placeInBasket();
    // "Mettre à jour l'index" and "Arrêter".
    void updateIndex();
    void stopIndexing();

    // A query started and its result not yet shown.
    bool isSearching() const;
    FullTextResultModel &results() const { return *m_results; }
    TextIndexer &indexer() const { return *m_indexer; }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    QWidget *buildPlacement();
    QWidget *buildIndexFrame();
    // "N textes indexés sur M.", then `more`; with `otherDisc`, what to do for the texts of the
    // disc that was not in the drive.
    void showIndexCount(const QString &more = {}, bool otherDisc = false);
    void indexingEnded(const IndexingReport &report);
    void tell(const QString &text);
    void showFound(std::vector<TextIndex::Hit> hits);
    void searchFailed();
    void endSearch();

    ScreenHost &m_window;
    std::unique_ptr<TextIndex> m_index; // the screen's own connection; null if it cannot open
    QString m_indexProblem;
    std::unique_ptr<SearchRunner> m_runner;
    FullTextQuery m_query; // the query of the results shown
    int m_readableDisc = 0;
    bool m_shownOnce = false;

    QLineEdit *m_queryBox = nullptr;
    QLabel *m_found = nullptr;
    QTableView *m_list = nullptr;
    FullTextResultModel *m_results = nullptr;
    std::array<QRadioButton *, 3> m_baskets{};
    std::array<QRadioButton *, 2> m_placements{};
    QPushButton *m_place = nullptr;
    QLabel *m_indexCount = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_file = nullptr;
    QPushButton *m_update = nullptr;
    QPushButton *m_stop = nullptr;
    QLabel *m_problemsCaption = nullptr;
    QListWidget *m_problems = nullptr;
    TextIndexer *m_indexer = nullptr;
    TextSearch *m_search = nullptr;
    FullTextQuery m_searching; // the query running
    bool m_busy = false;
};

} // namespace ferlin
