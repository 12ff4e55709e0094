#pragma once

#include "app/mainwindow.h"
#include "app/screens.h"
#include "core/context/appcontext.h"
#include "fakes/fakeplatform.h"
#include "gui/baskets/basketgridmodel.h"
#include "gui/baskets/basketlist.h"
#include "gui/platform/qtlineprinter.h"

#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace ferlin::test {

// The program's own line printer, on a machine taken to have no printer at all: the print goes
// into the PDF file the user names, and the printers of the machine are left alone.
class NoPrinterLinePrinter : public QtLinePrinter {
public:
    bool hasDefaultPrinter() const override { return false; }
};

// What a configured program finds in its settings store: no message at start-up.
inline void storeConfiguredSettings(FakeSettingsStore &store)
{
    store.setValue(QStringLiteral("Startup"), QStringLiteral("1"));
    store.setValue(QStringLiteral("TextesRecopies"), QStringLiteral("O"));
    store.setValue(QStringLiteral("TextesHD"), QStringLiteral("False"));
    store.setValue(QStringLiteral("TextesCD"), QStringLiteral("True"));
    for (const QString &name : Settings::printFieldNames())
        store.setValue(name, QStringLiteral("0"));
}

// One run of the program on a base: outside services faked but for the line printer.
struct Program {
    FakePlatform fakes;
    NoPrinterLinePrinter printer;
    Platform platform{fakes.messageBox, fakes.busyPointer, fakes.settings,
                      fakes.launcher,   fakes.drives,      fakes.files,
                      fakes.clipboard,  printer,           fakes.richTextPrinter};
    AppContext context;
    MainWindow window;

    explicit Program(const QString &base) : context(base, platform), window(context)
    {
        installScreens(window);
        window.resize(1024, 768);
        window.show();
    }

    // A control of one screen: several screens have controls of the same name.
    template <typename T> T *in(const char *screen, const char *name)
    {
        QWidget *built = window.screen(QString::fromUtf8(screen));
        EXPECT_TRUE(built) << screen;
        T *control = built ? built->findChild<T *>(QString::fromUtf8(name)) : nullptr;
        EXPECT_TRUE(control) << screen << " " << name;
        return control;
    }
    QString label(const char *screen, const char *name)
    {
        QLabel *l = in<QLabel>(screen, name);
        return l ? l->text() : QString();
    }
    void click(const char *screen, const char *name)
    {
        if (auto *button = in<QAbstractButton>(screen, name))
            button->click();
    }
    void command(const char *name) { window.commandButton(QString::fromUtf8(name))->click(); }
    QString front() const
    {
        QMdiSubWindow *active = window.findChild<QMdiArea *>()->activeSubWindow();
        return active ? active->widget()->objectName() : QString();
    }
    // One column of the basket list's grid, line by line.
    QStringList gridColumn(int column)
    {
        const BasketGridModel *model =
            window.screenAs<BasketList>(QStringLiteral("F_grille"))->gridModel();
        QStringList cells;
        for (int row = 0; row < model->rowCount(); ++row)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const RecordedMessage &m : fakes.messageBox.messages())
            texts << m.text;
        return texts;
    }
    // Every count label of every screen shows the three counts.
    void expectCounts(int one, int two, int three) const
    {
        const int counts[] = {one, two, three};
        for (int n = 1; n <= 3; ++n) {
            EXPECT_FALSE(window.countLabels().labels(n).isEmpty());
            for (const auto &label : window.countLabels().labels(n))
                EXPECT_EQ(label->text(), QString::number(counts[n - 1]))
                    << "basket " << n << " " << label->objectName().toStdString();
        }
    }
};

// A real mouse click on an entry of a list, wherever it is scrolled to.
inline void clickEntry(QListWidget *list, const QString &entry)
{
    const auto items = list->findItems(entry, Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << entry.toStdString();
    list->scrollToItem(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
}

inline QString withoutBlanks(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.remove(blanks);
}

inline QString pdfText(const QString &pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    EXPECT_FALSE(tool.isEmpty()) << "pdftotext is needed (poppler-utils, see scripts/setup.sh)";
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace ferlin::test
