#include "import/importprogress.h"

#include "app/accessibility.h"
#include "app/linebreak.h"
#include "app/startup.h"
#include "import/publishedbase.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace ferlin {

ImportProgressWindow::ImportProgressWindow(const QString &source, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_conversion"));
    setWindowTitle(QStringLiteral("Conversion de la base publiée"));
    setModal(true);
    auto *heading = new QLabel(QStringLiteral("Conversion de « %1 » en base de Ferlin, une fois "
                                              "pour toutes.")
                                   .arg(QFileInfo(source).fileName()),
                               this);
    heading->setObjectName(QStringLiteral("Lab_conversion"));
    m_table = new QLabel(this);
    m_table->setObjectName(QStringLiteral("Lab_table"));
    m_rows = new QLabel(this);
    m_rows->setObjectName(QStringLiteral("Lab_lignes"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("Barre_conversion"));
    m_bar->setAccessibleName(QStringLiteral("Avancement de la conversion"));
    m_bar->setMinimumWidth(360);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_table);
    layout->addWidget(m_rows);
    layout->addWidget(m_bar);
}

void ImportProgressWindow::showProgress(const ImportProgress &progress)
{
    m_table->setText(progress.table.isEmpty()
                         ? QStringLiteral("Lecture de la liste des tables")
                         : QStringLiteral("Table en cours de lecture : ") + progress.table);
    m_rows->setText(
        QStringLiteral("Lignes converties : %1 sur %2").arg(progress.done).arg(progress.total));
    // The bar counts in thousandths: a base past two thousand million rows fits as well.
    m_bar->setRange(0, 1000);
    m_bar->setValue(progress.total > 0 ? int(progress.done * 1000 / progress.total) : 0);
    nameControlsForAccessibility(this);
    // The conversion runs on the user-interface thread: paint now, leave the user's input be.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool ConvertPublishedBaseAtStartup(const QString &databasePath, Platform &platform,
                                   const RowSourceOpener &open, const QString &programFolder)
{
    const QString published = publishedBaseToConvert(databasePath, programFolder);
    if (published.isEmpty())
        return false;
    ImportProgressWindow window(published);
    BusyPointerGuard busy(platform.busyPointer);
    try {
        window.show();
        window.showProgress({});
        const std::unique_ptr<RowSource> source = open(published);
        ImportCatalogue(*source, databasePath,
                        [&window](const ImportProgress &p) { window.showProgress(p); });
        return true;
    } catch (const DbError &error) {
        window.hide();
        platform.busyPointer.restore();
        const Startup::FailureMessage message =
            Startup::failureMessage(error.number(), error.description());
        // The structure message names what the published file lacks.
        const QString text = error.number() == DbErrorCode::ObjectNotFound
                                 ? message.text + LineBreak + error.description()
                                 : message.text;
        platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok, text, message.title);
        return false;
    }
}

} // namespace ferlin
