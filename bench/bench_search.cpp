// The search at 6,773 and 135,460 references:
// - the heaviest condition the search screen builds (ten keywords with ET, OU and SAUF, years,
//   bulletin, level, author, point of view, domain, reference number, free text in word mode
//   over the three fields), its values taken from one reference so that it matches and every
//   group is evaluated; goal 10 ms at 6,773 references;
// - a search placing the whole base into an empty basket, from the press of "Recherche" to the
//   basket list painted on the shown window; goals 500 ms at 6,773 and 1 s at 135,460.
// Usage: bench_search [--size N | --base FILE]
#include "benchsupport.h"
#include "bothsizes.h"
#include "core/search/condition.h"
#include "gui/baskets/basketlist.h"
#include "gui/record/recordcard.h"
#include "gui/search/searchscreen.h"
#include "paintcounter.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace {

using namespace ferlin;
using namespace ferlin::bench;

// Every question answered Yes, every message acknowledged.
class AnswerYes : public MessageBox {
protected:
    MessageAnswer ask(MessageIcon, MessageButtons buttons, const QString &,
                      const std::optional<QString> &) override
    {
        return firstAnswer(buttons);
    }
};

// The lines of a list field (keywords, levels, ...), without their blanks.
QStringList linesOf(const QString &field)
{
    static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
    QStringList lines;
    for (const QString &line : field.split(breaks, Qt::SkipEmptyParts)) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    return lines;
}

// A word of at least five letters standing between two blanks, as the word mode finds it.
QString innerWord(const QString &title)
{
    static const QRegularExpression word(QStringLiteral(" (\\p{L}{5,}) "));
    return word.match(title).captured(1);
}

// The keywords of the base, the most used first.
QStringList keywordsByUse(Database &db)
{
    QHash<QString, int> uses;
    for (const QStringList &row :
         RecordSet(db, QStringLiteral("TArticles")).readAll({QStringLiteral("MotsCles")})) {
        for (const QString &word : linesOf(row.value(0)))
            ++uses[word];
    }
    QStringList words = uses.keys();
    std::sort(words.begin(), words.end(), [&uses](const QString &a, const QString &b) {
        return uses.value(a) != uses.value(b) ? uses.value(a) > uses.value(b) : a < b;
    });
    return words;
}

// The heaviest search: from the middle of the base on, the first reference with four keywords,
// a title word, a level, an author, a point of view and a domain gives the values, so that the
// condition matches it; the keywords joined by OU and SAUF are the most used ones, so that many
// rows reach the groups after the keywords. False when there is no such reference.
bool heaviestSearch(Database &db, SelectionCriteria &criteria, KeywordChoice &keywords)
{
    const QStringList used = keywordsByUse(db);
    RecordSet rows(db, QStringLiteral("SELECT * FROM TArticles ORDER BY Rang"));
    rows.move(rows.recordCount() / 2);
    for (; !rows.isEof(); rows.moveNext()) {
        const QStringList words = linesOf(rows.text(QStringLiteral("MotsCles")));
        const QString titleWord = innerWord(rows.text(QStringLiteral("Titre")));
        const QString author = rows.text(QStringLiteral("Auteur")).left(2);
        const QStringList levels = linesOf(rows.text(QStringLiteral("Niveaux")));
        const QStringList views = linesOf(rows.text(QStringLiteral("PointdeVue")));
        const QStringList domains = linesOf(rows.text(QStringLiteral("Domaine")));
        if (words.size() < 4 || titleWord.isEmpty() || author.trimmed().size() < 2 ||
            levels.isEmpty() || views.isEmpty() || domains.isEmpty())
            continue;
        // It has the first keyword and the three joined by ET, and none of those joined by OU
        // and SAUF.
        keywords.first = words.at(0);
        keywords.et = words.mid(1, 3);
        const QString own = rows.text(QStringLiteral("MotsCles")).toLower();
        for (const QString &word : used) {
            if (keywords.ou.size() + keywords.sauf.size() == 6)
                break;
            if (!own.contains(word.toLower()))
                (keywords.ou.size() < 3 ? keywords.ou : keywords.sauf) << word;
        }
        criteria.keywords = criteria.years = criteria.bulletin = criteria.level = true;
        criteria.author = criteria.pointOfView = criteria.domain = true;
        criteria.reference = criteria.freeText = true;
        criteria.yearFrom = QStringLiteral("1900");
        criteria.yearTo = QStringLiteral("2100");
        criteria.bulletinNumber = rows.text(QStringLiteral("Numéro")).left(1) + u'*';
        criteria.levelText = u' ' + levels.at(0) + u' ';
        criteria.authorText = author;
        criteria.pointOfViewText = views.at(0);
        criteria.domainText = domains.at(0);
        criteria.referenceText = rows.text(QStringLiteral("Rang"));
        criteria.freeTextValue = titleWord;
        criteria.wordMode = true;
        criteria.inTitle = criteria.inSummary = criteria.inKeywords = true;
        return true;
    }
    return false;
}

QString statementOf(const SelectionCriteria &criteria, const KeywordChoice &keywords)
{
    AnswerYes quiet;
    return QStringLiteral("SELECT * FROM TArticles WHERE ") +
           BuildSelectionCondition(criteria, keywords, quiet).condition +
           QStringLiteral(" ORDER BY An DESC,Numéro DESC,Page DESC");
}

// The rows that reach each group of the condition: those matching the groups before it.
QString rowsReachingEachGroup(Database &db, const SelectionCriteria &criteria,
                              const KeywordChoice &keywords)
{
    bool SelectionCriteria::*const groups[] = {
        &SelectionCriteria::keywords, &SelectionCriteria::years,
        &SelectionCriteria::bulletin, &SelectionCriteria::level,
        &SelectionCriteria::author,   &SelectionCriteria::pointOfView,
        &SelectionCriteria::domain,   &SelectionCriteria::reference,
        &SelectionCriteria::freeText};
    QStringList counts;
    SelectionCriteria prefix = criteria;
    for (bool SelectionCriteria::*group : groups)
        prefix.*group = false;
    counts << QString::number(RecordSet(db, QStringLiteral("TArticles")).recordCount());
    for (bool SelectionCriteria::*group : groups) {
        prefix.*group = true;
        counts << QString::number(RecordSet(db, statementOf(prefix, keywords)).recordCount());
    }
    return counts.join(QStringLiteral(" → "));
}

int measureHeaviest(Database &db, int count)
{
    SelectionCriteria criteria;
    KeywordChoice keywords;
    if (!heaviestSearch(db, criteria, keywords)) {
        std::fprintf(stderr, "no reference gives the values of the heaviest search\n");
        return 1;
    }
    const QString statement = statementOf(criteria, keywords);
    std::vector<double> times;
    int found = 0;
    for (int run = 0; run < (isLarge(count) ? 11 : 21); ++run) {
        QElapsedTimer clock;
        clock.start();
        RecordSet result(db, statement);
        found = result.recordCount();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const double time = median(times);
    report(QStringLiteral("heaviest search condition"), count,
           ms(time) + QStringLiteral(", ") + QString::number(keywords.count()) +
               QStringLiteral(" keywords, ") + QString::number(statement.size()) +
               QStringLiteral(" characters, ") + QString::number(found) +
               QStringLiteral(" found, median of ") + QString::number(times.size()) +
               QStringLiteral("; rows reaching each group: ") +
               rowsReachingEachGroup(db, criteria, keywords),
           isLarge(count) ? Goal{} : atMostMs(time, 10));
    return found > 0 ? 0 : 1;
}

int measure(const QString &original)
{
    QTemporaryDir dir;
    const QString base = writableCopy(dir, original);
    LinuxPlatform linux(dir.filePath(QStringLiteral("ferlin.ini")));
    AnswerYes yes;
    Platform &real = linux.platform();
    Platform services{
        yes,        real.busyPointer, real.settings,    real.launcher,       real.drives,
        real.files, real.clipboard,   real.linePrinter, real.richTextPrinter};
    writeConfiguredSettings(real.settings);
    AppContext context(base, services);
    MainWindow window(context);
    installScreens(window);
    window.resize(1280, 900);
    window.show();
    window.load();
    const int count = context.state.baseCount;
    if (measureHeaviest(*context.catalogue.db, count) != 0)
        return 1;

    // Every reference of the base (its years) into basket 3, emptied before each run.
    window.commandButton(QStringLiteral("Cmd_selections"))->click();
    auto *screen = window.screenAs<SearchScreen>(QStringLiteral("Selecfr"));
    screen->findChild<QCheckBox *>(QStringLiteral("Check_An"))->click();
    screen->findChild<QLineEdit *>(QStringLiteral("T_an1"))->setText(QStringLiteral("1900"));
    screen->findChild<QLineEdit *>(QStringLiteral("T_an2"))->setText(QStringLiteral("2100"));
    screen->findChild<QRadioButton *>(QStringLiteral("NuméroPanier_2"))->click();
    auto *search = screen->findChild<QPushButton *>(QStringLiteral("Cmd_selection"));
    QWidget *lines = window.screenAs<BasketList>(QStringLiteral("F_grille"))->grid()->viewport();
    auto *card = window.screenAs<RecordCard>(QStringLiteral("F_formul"));
    PaintCounter paints(&window);
    if (!waitExposed(&window)) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }
    // With FERLIN_GRAB=prefix, pictures of the search screen and of the list it ends on.
    const QString grab = qEnvironmentVariable("FERLIN_GRAB");

    const int runs = isLarge(count) ? 3 : 5;
    std::vector<double> times;
    std::vector<double> painted;
    double peak = 0;
    for (int run = 0; run < runs; ++run) {
        card->basketOperations().EmptyBasket(3);
        window.showScreen(QStringLiteral("Selecfr"));
        const int shown = paints.of(search);
        if (!runUntil([&] { return paints.of(search) > shown; }))
            return 1;
        if (!grab.isEmpty())
            window.grab().save(grab + QStringLiteral("-search.png"));
        const int listed = paints.of(lines);
        const int all = paints.total();
        resetPeakMemory();
        QElapsedTimer clock;
        clock.start();
        search->click();
        if (!runUntil([&] { return paints.of(lines) > listed; })) {
            std::fprintf(stderr, "the basket list was not painted after the search\n");
            return 1;
        }
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        painted.push_back(paints.total() - all);
        peak = std::max(peak, residentMb());
        if (context.state.basketCounts[3] != count) {
            std::fprintf(stderr, "basket 3 holds %d references\n", context.state.basketCounts[3]);
            return 1;
        }
    }
    if (!grab.isEmpty())
        window.grab().save(grab + QStringLiteral("-list.png"));
    const double time = median(times);
    report(QStringLiteral("search placing the whole base into an empty basket, list painted"),
           count,
           ms(time) + QStringLiteral(", ") + QString::number(median(painted)) +
               QStringLiteral(" paint events, median of ") + QString::number(runs) +
               QStringLiteral("; peak memory ") + QString::number(peak, 'f', 0) +
               QStringLiteral(" MB"),
           atMostMs(time, isLarge(count) ? 1000 : 500));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    return widgetBenchmarkMain(argc, argv, measure);
}
