// Every screen of the program, as a user and a screen reader meet them: option groups, layout
// in a small window, accessible names.
#include "app/mainwindow.h"
#include "baskets/transferdialog.h"
#include "search/keywordpicker.h"
#include "support/programfixture.h"

#include <QButtonGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

using namespace ferlin;

namespace {

const char *const Screens[] = {"Config",   "F_copie", "F_état",   "F_formul", "Selecfr",
                               "F_grille", "F_print", "F_Export", "ORV"};

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
