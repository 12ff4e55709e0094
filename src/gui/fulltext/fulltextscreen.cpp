#include "gui/fulltext/fulltextscreen.h"

#include "core/context/appcontext.h"
#include "core/fulltext/fulltextresults.h"
#include "core/fulltext/reachabletexts.h"
#include "core/fulltext/textindex.h"
#include "core/fulltext/textindexer.h"
#include "core/fulltext/textsearch.h"
#include "core/fulltext/viewerpage.h"
#include "core/search/runsearch.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/countlabels.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/screenhost.h"
#include "gui/shell/searchviews.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const QString HelpPage = QStringLiteral("textesintegraux");

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QString counted(int count, const QString &singular, const QString &plural)
{
    return QString::number(count) + u' ' + (count > 1 ? plural : singular);
}

// The extract column: the page's words around those found, the found ones in bold.
class ExtractDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.text.clear();
        QStyle *style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        QTextDocument document;
        document.setDefaultFont(item.font);
        document.setDocumentMargin(2);
        document.setHtml(index.data(FullTextResultModel::ExtractHtmlRole).toString());
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = item.palette;
        if (item.state & QStyle::State_Selected)
            context.palette.setColor(QPalette::Text, item.palette.color(QPalette::HighlightedText));
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        painter->save();
        painter->translate(area.left(),
                           area.top() + (area.height() - document.size().height()) / 2);
        painter->setClipRect(area.translated(-area.topLeft()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }
};

} // namespace

FullTextScreen::FullTextScreen(ScreenHost &window) : m_window(window)
{
    setObjectName(Name);
    setWindowTitle(Title);
    AppContext &context = window.context();
    try {
        m_index = std::make_unique<TextIndex>(TextIndex::pathBeside(context.databasePath));
    } catch (const DbError &error) {
        m_indexProblem = error.description();
    }
    m_runner = std::make_unique<SearchRunner>(context, SearchViewsOf(window));
    m_indexer = new TextIndexer(TextIndex::pathBeside(context.databasePath), this);
    connect(m_indexer, &TextIndexer::progress, this,
            [this](int done, int total, const QString &file) {
                m_progress->setMaximum(std::max(total, 1));
                m_progress->setValue(done);
                m_file->setText(file);
            });
    connect(m_indexer, &TextIndexer::ended, this, &FullTextScreen::indexingEnded);
    m_search = new TextSearch(TextIndex::pathBeside(context.databasePath), this);
    connect(m_search, &TextSearch::found, this, &FullTextScreen::showFound);
    connect(m_search, &TextSearch::failed, this, &FullTextScreen::searchFailed);
    build();
    showIndexCount();
    nameControlsForAccessibility(this);
    window.publishCounts();
}

FullTextScreen::~FullTextScreen() = default;

void FullTextScreen::build()
{
    auto *title = new QLabel(Title.toUpper(), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    title->setFont(big);

    auto *caption = named(new QLabel(QStringLiteral("&Mots cherchés :"), this),
                          QStringLiteral("Lab_Recherche"));
    m_queryBox = named(new QLineEdit(this), QStringLiteral("Txt_Recherche"));
    m_queryBox->setToolTip(QStringLiteral("Mots à chercher dans les textes des articles"));
    caption->setBuddy(m_queryBox);
    auto *run = named(new QPushButton(QStringLiteral("&Rechercher"), this),
                      QStringLiteral("Cmd_Rechercher"));
    connect(run, &QPushButton::clicked, this, &FullTextScreen::search);
    connect(m_queryBox, &QLineEdit::returnPressed, this, &FullTextScreen::search);
    auto *queryRow = new QHBoxLayout;
    queryRow->addWidget(caption);
    queryRow->addWidget(m_queryBox, 1);
    queryRow->addWidget(run);
    auto *syntax =
        named(new QLabel(
                  QStringLiteral("Tous les mots doivent figurer sur la page. Entre deux mots : ET, "
                                 "OU, SAUF. Une expression entre guillemets : \"foyer principal\". "
                                 "lentil* trouve lentille, lentilles... Les majuscules et les "
                                 "accents ne comptent pas."),
                  this),
              QStringLiteral("Lab_Syntaxe"));
    syntax->setWordWrap(true);

    m_found = named(new QLabel(this), QStringLiteral("Lab_Resultat"));
    m_results = new FullTextResultModel(this);
    m_list = named(new QTableView(this), QStringLiteral("Liste_Resultats"));
    m_list->setToolTip(QStringLiteral("Pages trouvées, les plus pertinentes d'abord : "
                                      "double-cliquez ou appuyez sur Entrée pour ouvrir la page"));
    m_list->setModel(m_results);
    m_list->setItemDelegateForColumn(FullTextResultModel::ExtractColumn,
                                     new ExtractDelegate(m_list));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTabKeyNavigation(false);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {50, 64, 300, 44};
    for (int column = 0; column < 4; ++column)
        m_list->setColumnWidth(column, widths[column]);
    m_list->setMinimumHeight(120);
    connect(m_list, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { openResult(index.row()); });
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto *open = new QShortcut(QKeySequence(key), m_list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] {
            if (m_list->currentIndex().isValid())
                openResult(m_list->currentIndex().row());
        });
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addLayout(queryRow);
    layout->addWidget(syntax);
    layout->addWidget(m_found);
    layout->addWidget(m_list, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(buildPlacement());
    bottom->addWidget(buildIndexFrame(), 1);
    layout->addLayout(bottom);
}

QWidget *FullTextScreen::buildPlacement()
{
    auto *frame = named(new QGroupBox(QStringLiteral("Placer les références trouvées"), this),
                        QStringLiteral("Frame_Placer"));
    auto *grid = new QGridLayout(frame);
    for (int i = 0; i < 3; ++i) {
        m_baskets[size_t(i)] =
            named(new QRadioButton(QStringLiteral("Panier ") + QString::number(i + 1), frame),
                  QStringLiteral("Option_Panier_") + QString::number(i));
        auto *count = named(new QLabel(frame), QStringLiteral("Lab_NbPanier_%1").arg(i + 1));
        m_window.countLabels().add(i + 1, count);
        grid->addWidget(m_baskets[size_t(i)], i, 0);
        grid->addWidget(count, i, 1);
    }
    m_baskets[0]->setChecked(true);
    exclusiveGroup(this, m_baskets);
    const QString placements[] = {QStringLiteral("Ajoute au contenu"),
                                  QStringLiteral("Remplace le contenu")};
    for (int i = 0; i < 2; ++i) {
        m_placements[size_t(i)] = named(new QRadioButton(placements[i], frame),
                                        QStringLiteral("Option_Placement_") + QString::number(i));
        grid->addWidget(m_placements[size_t(i)], i, 2);
    }
    m_placements[0]->setChecked(true);
    exclusiveGroup(this, m_placements);
    m_place = named(new QPushButton(QStringLiteral("&Placer dans le panier"), frame),
                    QStringLiteral("Cmd_Placer"));
    m_place->setEnabled(false);
    connect(m_place, &QPushButton::clicked, this, &FullTextScreen::placeInBasket);
    grid->addWidget(m_place, 2, 2);
    return frame;
}

QWidget *FullTextScreen::buildIndexFrame()
{
    auto *frame = named(new QGroupBox(QStringLiteral("Index des textes"), this),
                        QStringLiteral("Frame_Index"));
    auto *layout = new QVBoxLayout(frame);
    m_indexCount = named(new QLabel(frame), QStringLiteral("Lab_Index"));
    m_indexCount->setWordWrap(true);
    m_progress = named(new QProgressBar(frame), QStringLiteral("Barre_Index"));
    m_progress->setToolTip(QStringLiteral("Avancement de l'indexation des textes"));
    m_progress->setValue(0);
    m_progress->hide();
    m_file = named(new QLabel(frame), QStringLiteral("Lab_Fichier"));
    m_file->setTextFormat(Qt::PlainText);
    m_file->setMinimumWidth(80);
    m_file->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_file->hide();
    m_update = named(new QPushButton(QStringLiteral("&Mettre à jour l'index"), frame),
                     QStringLiteral("Cmd_Indexer"));
    m_stop =
        named(new QPushButton(QStringLiteral("&Arrêter"), frame), QStringLiteral("Cmd_Arreter"));
    m_stop->setEnabled(false);
    connect(m_update, &QPushButton::clicked, this, &FullTextScreen::updateIndex);
    connect(m_stop, &QPushButton::clicked, this, &FullTextScreen::stopIndexing);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_update);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    m_problemsCaption = named(new QLabel(QStringLiteral("Textes non indexés :"), frame),
                              QStringLiteral("Lab_NonIndexes"));
    m_problems = named(new QListWidget(frame), QStringLiteral("Liste_NonIndexes"));
    m_problems->setToolTip(QStringLiteral("Les textes qui n'ont pas pu être lus, et pourquoi"));
    m_problems->setMaximumHeight(70);
    m_problemsCaption->hide();
    m_problems->hide();
    layout->addWidget(m_indexCount);
    layout->addWidget(m_progress);
    layout->addWidget(m_file);
    layout->addLayout(buttons);
    layout->addWidget(m_problemsCaption);
    layout->addWidget(m_problems);
    return frame;
}

void FullTextScreen::tell(const QString &text)
{
    m_window.context().platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok, text,
                                                Title);
}

void FullTextScreen::search()
{
    const FullTextQuery query = parseFullTextQuery(m_queryBox->text());
    if (!query.ok()) {
        tell(query.error);
        m_queryBox->setFocus();
        return;
    }
    if (!m_index) {
        tell(m_indexProblem);
        return;
    }
    // The query runs off this thread; a query still running is stopped.
    m_searching = query;
    if (!m_busy) {
        m_window.context().platform.busyPointer.showBusy();
        m_busy = true;
    }
    m_found->setText(QStringLiteral("Recherche en cours..."));
    m_search->start(query.match);
}

bool FullTextScreen::isSearching() const
{
    return m_search->isRunning();
}

void FullTextScreen::endSearch()
{
    m_search->stop();
    if (m_busy) {
        m_window.context().platform.busyPointer.restore();
        m_busy = false;
    }
}

void FullTextScreen::searchFailed()
{
    endSearch();
    m_found->clear();
    // The query is quoted word by word, so the engine never sees the user's syntax; say it
    // plainly all the same, never with the engine's words.
    tell(QStringLiteral("Cette recherche n'a pas pu être faite. Vérifiez les guillemets et "
                        "les mots ET, OU, SAUF."));
}

void FullTextScreen::showFound(std::vector<TextIndex::Hit> hits)
{
    endSearch();
    const FullTextQuery query = m_searching;
    AppContext &context = m_window.context();
    QHash<int, ReferenceHeading> headings;
    try {
        std::vector<int> rangs;
        rangs.reserve(hits.size());
        for (const TextIndex::Hit &hit : hits)
            rangs.push_back(hit.rang);
        if (context.catalogue.db)
            headings = ReadReferenceHeadings(*context.catalogue.db, rangs);
    } catch (const DbError &) {
        searchFailed();
        return;
    }
    m_query = query;
    TextIndex *index = m_index.get();
    m_results->setResults(std::move(hits), std::move(headings),
                          [index, match = query.match](qint64 row) {
                              try {
                                  return index->extract(match, row);
                              } catch (const DbError &) {
                                  return QString();
                              }
                          });
    const int references = m_results->referenceCount();
    m_found->setText(references == 0 ? QStringLiteral("Aucune page ne contient ces mots.")
                                     : counted(references, QStringLiteral("référence trouvée"),
                                               QStringLiteral("références trouvées")) +
                                           QStringLiteral(" sur ") +
                                           counted(m_results->pageCount(), QStringLiteral("page"),
                                                   QStringLiteral("pages")) +
                                           u'.');
    m_place->setEnabled(references > 0);
    if (references > 0) {
        m_list->setCurrentIndex(m_results->index(0, 0));
        m_list->scrollToTop();
    }
}

void FullTextScreen::openResult(int row)
{
    if (row < 0 || row >= m_results->pageCount())
        return;
    AppContext &context = m_window.context();
    if (!context.catalogue.db)
        return;
    const TextIndex::Hit &hit = m_results->hit(row);
    ArticleTextPlace place;
    try {
        place = ReadTextPlace(*context.catalogue.db, hit.rang);
    } catch (const DbError &error) {
        tell(error.description());
        return;
    }
    if (place.fullText.trimmed().isEmpty()) {
        tell(QStringLiteral("La référence n° %1 n'a plus de texte dans la base.").arg(hit.rang));
        return;
    }
    const Settings &settings = context.state.settings;
    OpenArticleText(
        settings, context.state.currentCd, place, context.platform,
        [this](Screen screen) { return m_window.show(screen); },
        viewerPageOptions(settings.pdfViewer, hit.page, m_query.firstTerm));
}

void FullTextScreen::placeInBasket()
{
    if (m_results->referenceCount() == 0)
        return;
    int basket = 1;
    for (int i = 0; i < 3; ++i) {
        if (m_baskets[size_t(i)]->isChecked())
            basket = i + 1;
    }
    m_runner->PlaceReferences(m_results->rangs(), basket, m_placements[1]->isChecked());
}

void FullTextScreen::updateIndex()
{
    if (m_indexer->isRunning())
        return;
    AppContext &context = m_window.context();
    if (!m_index) {
        m_indexCount->setText(m_indexProblem);
        return;
    }
    ReachableTexts reach;
    try {
        if (!context.catalogue.db)
            return;
        reach = FindReachableTexts(*context.catalogue.db, context.state.settings,
                                   context.platform.drives, context.platform.files);
    } catch (const DbError &error) {
        m_indexCount->setText(error.description());
        return;
    }
    m_readableDisc = reach.disc;
    if (!reach.unreachable.isEmpty()) {
        showIndexCount(reach.unreachable);
        return;
    }
    m_problems->clear();
    m_problems->hide();
    m_problemsCaption->hide();
    m_progress->setValue(0);
    m_progress->show();
    m_file->clear();
    m_file->show();
    m_update->setEnabled(false);
    m_stop->setEnabled(true);
    m_indexCount->setText(QStringLiteral("Lecture des textes..."));
    m_indexer->start(std::move(reach.texts));
}

void FullTextScreen::stopIndexing()
{
    m_indexer->cancel();
}

void FullTextScreen::indexingEnded(const IndexingReport &report)
{
    m_progress->hide();
    m_file->hide();
    m_update->setEnabled(true);
    m_stop->setEnabled(false);
    QString summary = report.cancelled ? QStringLiteral("Indexation arrêtée : ")
                                       : QStringLiteral("Indexation terminée : ");
    summary +=
        counted(report.indexed, QStringLiteral("texte lu"), QStringLiteral("textes lus")) +
        QStringLiteral(", ") +
        counted(report.unchanged, QStringLiteral("déjà à jour"), QStringLiteral("déjà à jour")) +
        QStringLiteral(", ") +
        counted(int(report.problems.size()), QStringLiteral("non indexé"),
                QStringLiteral("non indexés")) +
        u'.';
    if (!report.failure.isEmpty())
        summary = report.failure;
    if (!report.problems.isEmpty()) {
        m_problems->addItems(report.problems);
        m_problemsCaption->show();
        m_problems->show();
    }
    showIndexCount(summary, report.failure.isEmpty() && !report.cancelled);
}

void FullTextScreen::showIndexCount(const QString &more, bool otherDisc)
{
    AppContext &context = m_window.context();
    if (!m_index) {
        m_indexCount->setText(m_indexProblem);
        m_update->setEnabled(false);
        return;
    }
    int indexed = 0;
    int existing = 0;
    try {
        indexed = m_index->textCount();
        if (context.catalogue.db)
            existing = StoredTextCount(*context.catalogue.db);
    } catch (const DbError &error) {
        m_indexCount->setText(error.description());
        return;
    }
    QString text =
        counted(indexed, QStringLiteral("texte indexé"), QStringLiteral("textes indexés")) +
        QStringLiteral(" sur ") + QString::number(existing) + u'.';
    if (!more.isEmpty())
        text += u' ' + more;
    // Indexed from one disc: the other's texts wait for that disc.
    if (otherDisc && m_readableDisc != 0 && indexed < existing)
        text += QStringLiteral(" Les autres textes sont sur le CD-ROM n° %1 : mettez-le dans le "
                               "lecteur, puis mettez l'index à jour.")
                    .arg(3 - m_readableDisc);
    m_indexCount->setText(text);
}

bool FullTextScreen::event(QEvent *event)
{
    // F1 opens this screen's own help page rather than the program's first one: the key is
    // taken before the main window's shortcut sees it.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void FullTextScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_F1) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_window.showHelpPage(HelpPage);
}

void FullTextScreen::hideEvent(QHideEvent *event)
{
    // A query still running is of no use to a closed screen.
    if (isSearching()) {
        endSearch();
        m_found->clear();
    }
    QWidget::hideEvent(event);
}

void FullTextScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // At its first opening, an empty index is built at once from the texts that can be read.
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_queryBox->setFocus();
        if (m_index && m_index->textCount() == 0)
            updateIndex();
    }
}

} // namespace ferlin
