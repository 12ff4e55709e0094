#include "gui/output/exportdialog.h"

#include "core/context/appcontext.h"
#include "gui/output/basketchoice.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/screenhost.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace ferlin {

namespace {

const QString Title = QStringLiteral("Exporter un panier");
const QString MessageTitle = QStringLiteral("Exportation d'un panier");

QString askFile(QWidget *parent, const QString &suggested, ExportFormat format)
{
    const ExportFormatInfo &info = exportFormatInfo(format);
    const QString filter =
        info.caption.section(u' ', 0, -2) + QStringLiteral(" (*.") + info.extension + u')';
    // Replacing a file is asked once, by the export, after the extension has been added.
    return QFileDialog::getSaveFileName(parent, Title, suggested, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace

ExportDialog::ExportDialog(ScreenHost &window, QWidget *parent) : QDialog(parent), m_window(window)
{
    setObjectName(QStringLiteral("ExportPanier"));
    setWindowTitle(Title);
    setModal(true);
    m_chooseFile = [this](const QString &suggested, ExportFormat format) {
        return askFile(this, suggested, format);
    };
    build();
    nameControlsForAccessibility(this);
}

void ExportDialog::build()
{
    m_baskets = new BasketChoice(
        QStringLiteral("Les trois paniers sont vides : il n'y a rien à exporter."), this);

    auto *formats = new QGroupBox(QStringLiteral("F&ormat"), this);
    formats->setObjectName(QStringLiteral("Frame_Format"));
    auto *formatLayout = new QVBoxLayout(formats);
    for (int i = 0; i < ExportFormatCount; ++i) {
        auto *option = new QRadioButton(exportFormatInfo(ExportFormat(i)).caption, formats);
        option->setObjectName(QStringLiteral("Option_Format_") + QString::number(i));
        formatLayout->addWidget(option);
        m_formats[size_t(i)] = option;
    }
    exclusiveGroup(this, m_formats);
    m_formats[0]->setChecked(true);

    // French spreadsheets split a row at ";" (their decimal separator is the comma).
    m_separatorFrame = new QGroupBox(QStringLiteral("&Séparateur (CSV)"), this);
    m_separatorFrame->setObjectName(QStringLiteral("Frame_Separateur"));
    auto *separatorLayout = new QHBoxLayout(m_separatorFrame);
    const std::array<QString, 2> separatorCaptions = {QStringLiteral("Point-virgule (;)"),
                                                      QStringLiteral("Virgule (,)")};
    for (size_t i = 0; i < m_separators.size(); ++i) {
        auto *option = new QRadioButton(separatorCaptions.at(i), m_separatorFrame);
        option->setObjectName(QStringLiteral("Option_Separateur_") + QString::number(i));
        separatorLayout->addWidget(option);
        m_separators[i] = option;
    }
    separatorLayout->addStretch();
    exclusiveGroup(this, m_separators);
    m_separators[0]->setChecked(true);
    m_separatorFrame->setEnabled(false);

    auto *fileLabel = new QLabel(QStringLiteral("&Fichier :"), this);
    fileLabel->setObjectName(QStringLiteral("Lab_Fichier"));
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("Txt_Fichier"));
    m_file->setToolTip(QStringLiteral("Fichier où écrire le panier"));
    fileLabel->setBuddy(m_file);
    auto *browse = new QPushButton(QStringLiteral("Pa&rcourir…"), this);
    browse->setObjectName(QStringLiteral("Cmd_Parcourir"));
    browse->setAutoDefault(false);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);

    m_export = new QPushButton(QStringLiteral("&Exporter"), this);
    m_export->setObjectName(QStringLiteral("Cmd_Exporter"));
    m_export->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Cmd_Fermer"));
    close->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_baskets);
    layout->addWidget(formats);
    layout->addWidget(m_separatorFrame);
    layout->addLayout(fileRow);
    layout->addLayout(buttons);

    for (QRadioButton *format : m_formats) {
        connect(format, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                formatChosen();
        });
    }
    connect(browse, &QPushButton::clicked, this, &ExportDialog::chooseFile);
    connect(m_export, &QPushButton::clicked, this, &ExportDialog::exportChosen);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void ExportDialog::showWithCounts()
{
    m_export->setEnabled(m_baskets->refresh(m_window.context().state.basketCounts));
    show();
    raise();
    activateWindow();
    // The first control that can take a choice has the focus, so the keyboard starts there.
    if (!m_baskets->focusSelected())
        m_formats[size_t(selectedFormat())]->setFocus();
}

int ExportDialog::selectedBasket() const
{
    return m_baskets->selected();
}

ExportFormat ExportDialog::selectedFormat() const
{
    for (int i = 0; i < ExportFormatCount; ++i) {
        if (m_formats[size_t(i)]->isChecked())
            return ExportFormat(i);
    }
    return ExportFormat::BibTeX;
}

QChar ExportDialog::selectedSeparator() const
{
    return m_separators[1]->isChecked() ? CsvSeparators.at(1) : CsvSeparators.at(0);
}

void ExportDialog::formatChosen()
{
    m_separatorFrame->setEnabled(selectedFormat() == ExportFormat::Csv);
    // A name that ends with another format's extension takes the new one.
    const QString file = m_file->text().trimmed();
    for (int i = 0; i < ExportFormatCount; ++i) {
        const QString suffix = u'.' + exportFormatInfo(ExportFormat(i)).extension;
        if (file.endsWith(suffix, Qt::CaseInsensitive)) {
            m_file->setText(withExportExtension(file.chopped(suffix.size()), selectedFormat()));
            return;
        }
    }
}

QString ExportDialog::targetFile() const
{
    const QString file = m_file->text().trimmed();
    if (file.isEmpty())
        return {};
    return QDir::home().absoluteFilePath(withExportExtension(file, selectedFormat()));
}

void ExportDialog::chooseFile()
{
    QString suggested = targetFile();
    if (suggested.isEmpty())
        suggested =
            QDir::home().filePath(QStringLiteral("panier") + QString::number(selectedBasket()) +
                                  u'.' + exportFormatInfo(selectedFormat()).extension);
    const QString chosen = m_chooseFile(suggested, selectedFormat());
    if (!chosen.isEmpty())
        m_file->setText(withExportExtension(chosen, selectedFormat()));
}

void ExportDialog::tell(MessageIcon icon, const QString &text)
{
    m_window.context().platform.messageBox.show(icon, MessageButtons::Ok, text, MessageTitle);
}

bool ExportDialog::exportChosen()
{
    AppContext &context = m_window.context();
    const int basket = selectedBasket();
    if (context.state.basketCounts[basket] <= 0 || !context.catalogue.db)
        return false;
    const QString file = targetFile();
    if (file.isEmpty()) {
        tell(MessageIcon::Exclamation,
             QStringLiteral("Choisissez le fichier où écrire le panier."));
        m_file->setFocus();
        return false;
    }
    m_file->setText(QDir::toNativeSeparators(file));
    if (QFileInfo::exists(file) && context.platform.messageBox.show(
                                       MessageIcon::Question, MessageButtons::YesNo,
                                       QStringLiteral("Le fichier « %1 » existe déjà. Voulez-vous "
                                                      "le remplacer ?")
                                           .arg(QDir::toNativeSeparators(file)),
                                       MessageTitle) != MessageAnswer::Yes)
        return false;
    int count = 0;
    try {
        BusyPointerGuard busy(context.platform.busyPointer);
        count = ExportBasket(*context.catalogue.db, basket, selectedFormat(), file,
                             exportTextsFolder(context.state.settings),
                             ExportOptions{selectedSeparator()});
    } catch (const ExportError &error) {
        tell(MessageIcon::Critical, error.message());
        return false;
    }
    hide();
    tell(MessageIcon::Information, exportDoneMessage(count, file));
    return true;
}

} // namespace ferlin
