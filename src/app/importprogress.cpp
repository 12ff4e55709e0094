#include "app/importprogress.h"

#include "app/startup.h"
#include "core/context/linebreak.h"
#include "core/import/publishedbase.h"
#include "core/platform/platform.h"
#include "gui/shell/accessibility.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
    auto *buttons = new QDialogButtonBox(this);
    auto *cancel = buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Cmd_Annuler"));
    connect(buttons, &QDialogButtonBox::rejected, this, &ImportProgressWindow::reject);
    layout->addWidget(buttons);
}

bool ImportProgressWindow::keepGoing()
{
    QCoreApplication::processEvents();
    return !m_cancelled;
}

void ImportProgressWindow::reject()
{
    m_cancelled = true;
}

void ImportProgressWindow::closeEvent(QCloseEvent *event)
{
    m_cancelled = true;
    event->ignore(); // the conversion closes the window once it has stopped
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
    // The rows are written on the user-interface thread: paint now, and see "Annuler".
    QCoreApplication::processEvents();
}

namespace {

// A failure that the same file would meet again: what it holds, not the disk or the user.
bool isTheFilesFault(const DbError &error)
{
    return error.number() == DbErrorCode::UnrecognizedFormat ||
           error.number() == DbErrorCode::ObjectNotFound;
}

} // namespace

bool ConvertPublishedBaseAtStartup(const QString &databasePath, Platform &platform,
                                   const RowSourceOpener &open, const QString &programFolder)
{
    const QString published = publishedBaseToConvert(databasePath, programFolder);
    if (published.isEmpty())
        return false;
    const auto tell = [&platform](const QString &text) {
        platform.messageBox.show(
            MessageIcon::Exclamation, MessageButtons::Ok, text,
            Startup::failureMessage(DbErrorCode::UnrecognizedFormat, {}).title);
    };
    const QString before = failedConversionOf(databasePath, published);
    if (!before.isEmpty()) {
        tell(before + LineBreak + LineBreak +
             QStringLiteral("La conversion a déjà échoué sur ce fichier. Pour l'essayer de "
                            "nouveau : ferlin --import « %1 »")
                 .arg(QDir::toNativeSeparators(published)));
        return false;
    }
    ImportProgressWindow window(published);
    BusyPointerGuard busy(platform.busyPointer);
    try {
        window.show();
        window.showProgress({});
        const std::unique_ptr<RowSource> source = open(published);
        source->whileWaiting([&window] { return window.keepGoing(); });
        ImportCatalogue(*source, databasePath, [&window](const ImportProgress &p) {
            window.showProgress(p);
            if (window.cancelled())
                throw DbError(DbErrorCode::Cancelled,
                              QStringLiteral("La conversion a été annulée."));
        });
        return true;
    } catch (const DbError &error) {
        window.hide();
        platform.busyPointer.restore();
        if (error.number() == DbErrorCode::Cancelled)
            return false; // the start-up goes on to the missing base
        const Startup::FailureMessage message =
            Startup::failureMessage(error.number(), error.description());
        // The structure message names what the published file lacks.
        const QString text = error.number() == DbErrorCode::ObjectNotFound
                                 ? message.text + LineBreak + error.description()
                                 : message.text;
        if (isTheFilesFault(error))
            rememberFailedConversion(databasePath, published, text);
        platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok, text, message.title);
        return false;
    }
}

} // namespace ferlin
