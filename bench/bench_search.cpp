// The search: the heaviest condition the search screen can build (ten keywords, every criterion,
// free text in word mode over the three fields) run over the sample base (goal 10 ms), and a
// search placing all 6773 references into an empty basket, list shown (goal 500 ms).
#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "app/screens.h"
#include "benchsupport.h"
#include "platform/linuxplatform.h"
#include "search/condition.h"
#include "search/searchscreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Every question answered Yes, every message acknowledged.
class AnswerYes : public ferlin::MessageBox {
protected:
    ferlin::MessageAnswer ask(ferlin::MessageIcon, ferlin::MessageButtons buttons, const QString &,
                              const std::optional<QString> &) override
    {
        return ferlin::firstAnswer(buttons);
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir dir;
    const QString base = ferlin::bench::copyOfBase(dir, args);

    ferlin::LinuxPlatform linux(dir.filePath(QStringLiteral("ferlin.ini")));
    AnswerYes yes;
    ferlin::Platform &real = linux.platform();
    ferlin::Platform services{
        yes,        real.busyPointer, real.settings,    real.launcher,       real.drives,
        real.files, real.clipboard,   real.linePrinter, real.richTextPrinter};
    ferlin::bench::writeConfiguredSettings(real.settings);

    ferlin::AppContext context(base, services);
    ferlin::MainWindow window(context);
    ferlin::installScreens(window);
    window.resize(1280, 900);
    window.show();
    window.load();

    // The heaviest condition: ten keywords from the vocabulary and every criterion.
    const QStringList &vocabulary = context.state.keywordList;
    ferlin::KeywordChoice keywords;
    keywords.first = vocabulary.value(vocabulary.size() / 2);
    for (int i = 1; i < 10; ++i) {
        const QString word = vocabulary.value((i * 229) % vocabulary.size());
        (i % 3 == 0 ? keywords.sauf : i % 3 == 1 ? keywords.et : keywords.ou) << word;
    }
    ferlin::SelectionCriteria heavy;
    heavy.keywords = heavy.years = heavy.bulletin = heavy.level = heavy.author = true;
    heavy.pointOfView = heavy.domain = heavy.reference = heavy.freeText = true;
    heavy.yearFrom = QStringLiteral("1907");
    heavy.yearTo = QStringLiteral("2001");
    heavy.bulletinNumber = QStringLiteral("5*");
    heavy.levelText = QStringLiteral(" lycée ");
    heavy.authorText = QStringLiteral("a");
    heavy.pointOfViewText = context.state.pointOfViewList.value(0);
    heavy.domainText = context.state.domainList.value(0);
    heavy.referenceText = QStringLiteral("*");
    heavy.freeTextValue = QStringLiteral("foyer");
    heavy.wordMode = true;
    heavy.inTitle = heavy.inSummary = heavy.inKeywords = true;
    const ferlin::SelectionCondition condition =
        ferlin::BuildSelectionCondition(heavy, keywords, yes);
    const QString statement = QStringLiteral("SELECT * FROM TArticles WHERE ") +
                              condition.condition +
                              QStringLiteral(" ORDER BY An DESC,Numéro DESC,Page DESC");
    std::vector<double> times;
    int found = 0;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer clock;
        clock.start();
        auto result = context.catalogue.db->openRecordSet(statement);
        found = result->recordCount();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("heaviest condition (%lld characters, %d found) over %d references: %.2f ms "
                "(median of %zu; goal 10 ms)\n",
                static_cast<long long>(condition.condition.size()), found, context.state.baseCount,
                median(times), times.size());

    // Every reference into the empty basket 3, list shown.
    window.commandButton(QStringLiteral("Cmd_selections"))->click();
    auto *screen = window.screenAs<ferlin::SearchScreen>(QStringLiteral("Selecfr"));
    screen->findChild<QCheckBox *>(QStringLiteral("Check_An"))->click();
    screen->findChild<QLineEdit *>(QStringLiteral("T_an1"))->setText(QStringLiteral("1900"));
    screen->findChild<QLineEdit *>(QStringLiteral("T_an2"))->setText(QStringLiteral("2100"));
    screen->findChild<QRadioButton *>(QStringLiteral("NuméroPanier_2"))->click();
    // With FERLIN_GRAB=prefix, pictures of the search screen and of the list it ends on.
    const QString grab = qEnvironmentVariable("FERLIN_GRAB");
    if (!grab.isEmpty())
        window.grab().save(grab + QStringLiteral("-search.png"));
    QElapsedTimer clock;
    clock.start();
    screen->findChild<QPushButton *>(QStringLiteral("Cmd_selection"))->click();
    window.repaint();
    if (!grab.isEmpty())
        window.grab().save(grab + QStringLiteral("-list.png"));
    std::printf("search placing %d references into the empty basket 3, list shown: %.0f ms "
                "(goal 500 ms)\n",
                context.state.basketCounts[3], double(clock.nsecsElapsed()) / 1e6);
    return context.state.basketCounts[3] == context.state.baseCount ? 0 : 1;
}
