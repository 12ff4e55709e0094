#pragma once

#include "app/mainwindow.h"
#include "app/screens.h"
#include "core/context/appcontext.h"
#include "core/db/schema.h"
#include "core/record/cardbrowser.h"
#include "fakes/fakeplatform.h"
#include "gui/record/recordcard.h"
#include "support/samplebasecopy.h"

namespace ferlin::test {

// The whole program on a generated base of its own, every outside service faked, configured
// so that the start-up shows no message.
struct ProgramFixture {
    QTemporaryDir dir;
    FakePlatform fakes;
    AppContext context;
    MainWindow window;

    explicit ProgramFixture(int references = 300)
        : context(copyOfGeneratedBase(dir, references), fakes.platform()), window(context)
    {
        installScreens(window);
        fakes.settings.setValue(QStringLiteral("Startup"), QStringLiteral("1"));
        fakes.settings.setValue(QStringLiteral("TextesRecopies"), QStringLiteral("O"));
        fakes.settings.setValue(QStringLiteral("TextesHD"), QStringLiteral("False"));
        fakes.settings.setValue(QStringLiteral("TextesCD"), QStringLiteral("True"));
        for (const QString &name : Settings::printFieldNames())
            fakes.settings.setValue(name, QStringLiteral("0"));
        window.resize(1024, 768);
        window.show();
    }

    // What the basket list does to show basket n on the record card.
    void showBasketOnCard(int n)
    {
        context.state.currentBasket = n;
        context.card.openBasket(n);
        window.screenAs<RecordCard>(QStringLiteral("F_formul"))
            ->OpenCard(CardState::BasketMode, n, context.state.basketCounts[n], 1);
    }

    template <typename T> T *find(const char *name) const
    {
        return window.findChild<T *>(QString::fromUtf8(name));
    }
};

} // namespace ferlin::test
