// Every screen of the program, as a user and a screen reader meet them: option groups, layout
// in a small window, accessible names.
#include "app/mainwindow.h"
#include "gui/baskets/transferdialog.h"
#include "gui/search/keywordpicker.h"
#include "support/accessiblename.h"
#include "support/programfixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

using namespace ferlin;

namespace {

const char *const Screens[] = {"Config",   "F_copie", "F_état",   "F_formul", "Selecfr",
                               "F_grille", "F_print", "F_Export", "ORV",      "F_TextesIntegraux"};

// The program started, with every screen built and the dialogs that hold option buttons.
struct EveryScreen : test::ProgramFixture {
    EveryScreen()
    {
        window.load();
        for (const char *name : Screens)
            window.showScreen(QString::fromUtf8(name));
        new KeywordPicker(window, &window);
        new TransferDialog(
            window, [](int) {}, &window);
    }
};

// What a user would not see whole on a screen: a caption narrower or lower than its text, or a
// control reaching out of the screen.
QStringList cutControls(QWidget *screen)
{
    QStringList cut;
    const QRect bounds = screen->rect();
    for (QWidget *w : screen->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(screen) ||
            !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)))
            continue;
        // What lies in a scrolling part of the screen is reached by scrolling.
        bool scrolls = false;
        for (QWidget *up = w->parentWidget(); up != screen; up = up->parentWidget())
            scrolls = scrolls || up->inherits("QAbstractScrollArea");
        if (w->inherits("QToolBarExtension") || w->objectName().startsWith(u"qt_"))
            continue;
        QSize need = w->minimumSizeHint();
        auto *label = qobject_cast<QLabel *>(w);
        if (label && label->wordWrap())
            need = QSize(0, label->heightForWidth(label->width()));
        if (label && !label->pixmap().isNull())
            need = QSize(0, 0);
        const QRect place(w->mapTo(screen, QPoint(0, 0)), w->size());
        if (w->width() < need.width() || w->height() < need.height() ||
            (!scrolls && !bounds.contains(place)))
            cut << QStringLiteral("%1 %2x%3 needs %4x%5")
                       .arg(w->objectName())
                       .arg(w->width())
                       .arg(w->height())
                       .arg(need.width())
                       .arg(need.height());
    }
    return cut;
}

// Controls drawn over one another: the place of every visible label, button, input and list,
// and of every frame's title, on the screen; the names of each two that meet.
QStringList overlappingControls(QWidget *screen)
{
    std::vector<std::pair<QString, QRect>> places;
    for (QWidget *w : screen->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(screen) || w->objectName().startsWith(u"qt_"))
            continue;
        const QPoint origin = w->mapTo(screen, QPoint(0, 0));
        if (auto *frame = qobject_cast<QGroupBox *>(w)) {
            if (frame->title().trimmed().isEmpty())
                continue;
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.lineWidth = 1;
            option.subControls = QStyle::SC_GroupBoxLabel;
            option.features = frame->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
            const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, frame);
            places.emplace_back(frame->objectName() + QStringLiteral(" (title)"),
                                title.translated(origin));
        } else if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w) ||
                   w->inherits("QLineEdit") || w->inherits("QAbstractItemView") ||
                   w->inherits("QComboBox")) {
            if (auto *label = qobject_cast<QLabel *>(w);
                label && label->text().isEmpty() && label->pixmap().isNull())
                continue;
            places.emplace_back(w->objectName(), QRect(origin, w->size()));
        }
    }
    QStringList overlaps;
    for (size_t i = 0; i < places.size(); ++i) {
        for (size_t j = i + 1; j < places.size(); ++j) {
            if (places[i].second.intersects(places[j].second))
                overlaps << places[i].first + QStringLiteral(" over ") + places[j].first;
        }
    }
    return overlaps;
}

// Ticks every criterion of the search screen but the author's (which opens its picker).
void tickEveryCriterion(QWidget *search)
{
    for (QCheckBox *box : search->findChildren<QCheckBox *>()) {
        const QString name = box->objectName();
        if (name.startsWith(u"Check_") && name != QStringLiteral("Check_auteur") &&
            !box->isChecked())
            box->click();
    }
}

int checkedCount(const QButtonGroup *group)
{
    int checked = 0;
    for (QAbstractButton *b : group->buttons())
        checked += b->isChecked() ? 1 : 0;
    return checked;
}

} // namespace

TEST(Screens, EveryOptionGroupKeepsExactlyOneOptionSelected)
{
    EveryScreen p;
    std::map<QButtonGroup *, QString> groups;
    for (QRadioButton *option : p.window.findChildren<QRadioButton *>()) {
        ASSERT_TRUE(option->group()) << option->objectName().toStdString();
        EXPECT_TRUE(option->group()->exclusive()) << option->objectName().toStdString();
        groups.emplace(option->group(), option->objectName());
    }
    EXPECT_GE(groups.size(), 15u);
    for (const auto &[group, name] : groups) {
        // Each option in turn, each clicked twice: the second click must not unselect it.
        for (QAbstractButton *option : group->buttons()) {
            if (!option->isEnabled())
                continue;
            for (int click = 0; click < 2; ++click) {
                option->click();
                EXPECT_TRUE(option->isChecked()) << option->objectName().toStdString();
                EXPECT_EQ(checkedCount(group), 1) << option->objectName().toStdString();
            }
        }
    }
}

TEST(Screens, EveryScreenFitsA1024By700WindowAndScrollsInASmallerOne)
{
    EveryScreen p;
    tickEveryCriterion(p.window.screen(QStringLiteral("Selecfr")));
    auto *area = p.window.findChild<QMdiArea *>();
    // A window of 1024 by 700 with its title bar: about 600 pixels of height for the screens.
    p.window.resize(1024, 668);
    for (const char *name : Screens) {
        p.window.showScreen(QString::fromUtf8(name));
        QTest::qWait(1);
        QMdiSubWindow *frame = area->activeSubWindow();
        EXPECT_LE(frame->width(), area->viewport()->width()) << name;
        EXPECT_LE(frame->height(), area->viewport()->height()) << name;
        EXPECT_EQ(cutControls(frame->widget()).join(QStringLiteral("; ")).toStdString(), "")
            << name;
    }
    // Smaller, a screen keeps the size it needs and the frame scrolls.
    p.window.resize(700, 450);
    for (const char *name : Screens) {
        p.window.showScreen(QString::fromUtf8(name));
        QTest::qWait(1);
        QMdiSubWindow *frame = area->activeSubWindow();
        EXPECT_EQ(cutControls(frame->widget()).join(QStringLiteral("; ")).toStdString(), "")
            << name;
        if (frame->width() > area->viewport()->width()) {
            EXPECT_TRUE(area->horizontalScrollBar()->isVisible()) << name;
        }
        if (frame->height() > area->viewport()->height()) {
            EXPECT_TRUE(area->verticalScrollBar()->isVisible()) << name;
        }
    }
}

TEST(Screens, ScreenReadersReadWhatEachControlShowsAfterItChanged)
{
    EveryScreen p;
    // Captions that change: the card's rank line and basket, the counts, the search's source.
    p.context.catalogue.db->execute(
        QStringLiteral("INSERT INTO [TSélection2] SELECT * FROM TArticles WHERE Rang < 4"));
    p.context.state.basketCounts[2] = 3;
    p.window.publishCounts();
    p.window.commandButton(QStringLiteral("Cmd_feuillette"))->click();
    p.find<QToolButton>("Cmd_Droite")->click();
    p.showBasketOnCard(2);
    p.find<QToolButton>("Cmd_Droite")->click();
    p.find<QPushButton>("Cmd_AjoutP")->click();
    p.window.showScreen(QStringLiteral("Selecfr"));
    QTest::mouseClick(p.find<QLabel>("Label1_2"), Qt::LeftButton);
    auto *sources = p.find<QListWidget>("L_Source");
    sources->setCurrentRow(2);
    QTest::keyClick(sources, Qt::Key_Return);
    ASSERT_EQ(p.find<QLabel>("Label1_2")->text(), QStringLiteral("PANIER 2"));
    ASSERT_TRUE(p.find<QLabel>("Lab_rang")->text().contains(QStringLiteral("2 / 3")));

    int checked = 0;
    for (QWidget *w : p.window.findChildren<QWidget *>()) {
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text()))
                continue;
            shown = label->text();
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            shown = button->text();
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            shown = group->title();
        }
        shown.remove(u'&');
        if (shown.trimmed().isEmpty())
            continue;
        EXPECT_EQ(test::accessibleName(w).trimmed().toStdString(), shown.trimmed().toStdString())
            << w->objectName().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST(Screens, NoControlOfTheFirstConfigurationPageLiesOverAnotherOnceAPathIsBeingChanged)
{
    // The suite runs it once more with QT_SCALE_FACTOR=1.5.
    test::ProgramFixture p;
    p.window.load();
    p.window.showScreen(QStringLiteral("Config"));
    QWidget *page = p.window.screen(QStringLiteral("Config"));
    const struct {
        const char *modify, *done;
    } frames[] = {{nullptr, nullptr}, {"Cmd_PDF", "Cmd_SuitePDF"}, {"Cmd_Web2", "Cmd_SuiteWEB"}};
    for (const QSize size : {QSize(1024, 668), QSize(1920, 1048)}) {
        p.window.resize(size);
        for (const auto &f : frames) {
            if (f.modify)
                p.find<QPushButton>(f.modify)->click();
            QTest::qWait(1);
            EXPECT_EQ(overlappingControls(page).join(QStringLiteral("; ")).toStdString(), "")
                << (f.modify ? f.modify : "no frame changed") << " at " << size.width();
            if (f.done)
                p.find<QPushButton>(f.done)->click();
        }
    }
}
