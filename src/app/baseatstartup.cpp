#include "app/baseatstartup.h"

#include "app/importprogress.h"
#include "app/startup.h"
#include "core/platform/platform.h"

#include <QDir>

namespace ferlin {

QString userCopyMessage(const QString &userFolder)
{
    return QStringLiteral("Ferlin a créé votre copie de la base, avec vos paniers, dans « %1 ».")
        .arg(QDir::toNativeSeparators(userFolder));
}

bool PrepareBaseAtStartup(const BaseLocation &location, Platform &platform,
                          const RowSourceOpener &open)
{
    const bool userCopy = location.isUserCopy();
    bool made = false;
    try {
        made = seedUserBase(location);
    } catch (const DbError &error) {
        const Startup::FailureMessage message =
            Startup::failureMessage(error.number(), error.description());
        platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok, message.text,
                                 message.title);
        return false;
    }
    if (!made)
        made = ConvertPublishedBaseAtStartup(location.databasePath, platform, open,
                                             userCopy ? location.programFolder : QString());
    if (made && userCopy)
        platform.messageBox.show(MessageIcon::Information, MessageButtons::Ok,
                                 userCopyMessage(location.userFolder));
    return made;
}

} // namespace ferlin
