#include "app/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ferlin {

void installFrenchTranslations(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

} // namespace ferlin
