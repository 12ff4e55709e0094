#include "gui/output/printscreen.h"

#include "core/context/appcontext.h"
#include "core/db/dberror.h"
#include "core/platform/platformerror.h"
#include "core/record/cardbrowser.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/captioncolours.h"
#include "gui/shell/countlabels.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/screenhost.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const QString NoPrinterQuestion =
    QStringLiteral("Aucune imprimante n'est installée. Voulez-vous enregistrer l'impression dans "
                   "un fichier PDF ?");
const QString PrintMessageTitle = QStringLiteral("Impression");
const QString PrintFailedMessage = QStringLiteral("L'impression n'a pas pu être achevée.\r\n");
const QColor CaptionBlack(0x00, 0x00, 0x00);

QString askPdfFileName(QWidget *parent)
{
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Enregistrer l'impression"),
                                                QString(), QStringLiteral("Fichiers PDF (*.pdf)"));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    return file;
}

} // namespace

PrintScreen::PrintScreen(ScreenHost &window) : m_window(window)
{
    setObjectName(QStringLiteral("F_print"));
    setWindowTitle(QStringLiteral("Impression des références d'un panier"));
    m_choosePdfFile = [this] { return askPdfFileName(this); };
    build();
    buildTitleDialog();
    window.publishCounts();
    activate();
    nameControlsForAccessibility(this);
    nameControlsForAccessibility(m_titleDialog);
}

PrintScreen::~PrintScreen() = default;

void PrintScreen::build()
{
    auto *layout = new QVBoxLayout(this);

    auto *heading = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral(" IMPRESSION du PANIER N°"), this);
    title->setObjectName(QStringLiteral("Lab_titrePrint"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);
    m_basketNumber = new QLabel(this);
    m_basketNumber->setObjectName(QStringLiteral("Lab_NumPanier"));
    m_basketNumber->setFont(big);
    heading->addWidget(title);
    heading->addWidget(m_basketNumber);
    heading->addStretch();
    layout->addLayout(heading);

    auto *countLine = new QHBoxLayout;
    auto *countCaption = new QLabel(QStringLiteral("Nombre de références dans ce panier : "), this);
    countCaption->setObjectName(QStringLiteral("Label2"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("Lab_NbRefP"));
    countLine->addWidget(countCaption);
    countLine->addWidget(m_count);
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Lab_NbRefP%1").arg(i + 1));
        label->hide();
        m_counts[size_t(i)] = label;
        m_window.countLabels().add(i + 1, label);
    }
    countLine->addStretch();
    layout->addLayout(countLine);

    auto *types = new QGroupBox(QStringLiteral(" Type d'impression "), this);
    types->setObjectName(QStringLiteral("Frame3"));
    auto *typesLayout = new QVBoxLayout(types);
    for (int i = 0; i < PrintTypeCount; ++i) {
        auto *option = new QRadioButton(printTypeCaption(PrintType(i)), types);
        option->setObjectName(QStringLiteral("Option_Prn_%1").arg(i));
        typesLayout->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this] { printTypeChosen(); });
        m_types[size_t(i)] = option;
    }
    m_types[size_t(PrintType::Custom)]->setChecked(true);
    exclusiveGroup(this, m_types);
    paintCaption(m_types[size_t(PrintType::Custom)], CaptionOn);
    layout->addWidget(types);

    m_fieldsFrame = new QGroupBox(QStringLiteral(" Champs à imprimer "), this);
    m_fieldsFrame->setObjectName(QStringLiteral("Frame1"));
    auto *fieldsLayout = new QGridLayout(m_fieldsFrame);
    m_fieldsLabel =
        new QLabel(QStringLiteral("Cochez les champs que vous voulez imprimer"), m_fieldsFrame);
    m_fieldsLabel->setObjectName(QStringLiteral("Label1"));
    fieldsLayout->addWidget(m_fieldsLabel, 0, 0, 1, 3);
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        const PrintFieldInfo &info = printFieldInfo(PrintField(i));
        auto *box = new QCheckBox(info.caption, m_fieldsFrame);
        box->setObjectName(info.boxName);
        if (PrintField(i) == PrintField::Criteria)
            box->setToolTip(QStringLiteral(" Cocher pour imprimer les critères de sélection "));
        paintCaption(box, CaptionBlack);
        connect(box, &QCheckBox::clicked, this, [this, box] { paintBox(box); });
        fieldsLayout->addWidget(box, 1 + int(i) / 3, int(i) % 3);
        m_boxes[i] = box;
    }
    layout->addWidget(m_fieldsFrame);

    auto *buttons = new QHBoxLayout;
    m_all = new QPushButton(ToggleAllCaption(m_window.context().state.tickAllToggle), this);
    m_all->setObjectName(QStringLiteral("Cmd_tous"));
    m_all->setToolTip(QStringLiteral(" Sélectionne/désélectionne tous les champs "));
    connect(m_all, &QPushButton::clicked, this, [this] { toggleAllFields(); });
    m_print = new QPushButton(QStringLiteral("Lancer l'impression"), this);
    m_print->setObjectName(QStringLiteral("Cmd_Print"));
    connect(m_print, &QPushButton::clicked, this, [this] { PrintBasket(); });
    buttons->addWidget(m_all);
    buttons->addStretch();
    buttons->addWidget(m_print);
    layout->addLayout(buttons);
    layout->addStretch();
}

void PrintScreen::buildTitleDialog()
{
    m_titleDialog = new QDialog(this);
    m_titleDialog->setObjectName(QStringLiteral("Print_titre"));
    m_titleDialog->setWindowTitle(QString());
    m_titleDialog->setModal(true);
    auto *layout = new QVBoxLayout(m_titleDialog);
    auto *caption = new QLabel(QStringLiteral("Titre général"), m_titleDialog);
    caption->setObjectName(QStringLiteral("Label2"));
    auto *explanation =
        new QLabel(QStringLiteral("Vous pouvez taper ci-dessous un texte qui sera ajouté aux  "
                                  "impressions et sauvegardes des paniers."),
                   m_titleDialog);
    explanation->setObjectName(QStringLiteral("Label1"));
    explanation->setWordWrap(true);
    m_generalTitle = new QLineEdit(m_titleDialog);
    m_generalTitle->setObjectName(QStringLiteral("T_Titre"));
    auto *proceed = new QPushButton(QStringLiteral("Continuer"), m_titleDialog);
    proceed->setObjectName(QStringLiteral("Command2"));
    proceed->setDefault(true);
    connect(proceed, &QPushButton::clicked, m_titleDialog, &QDialog::hide);
    layout->addWidget(caption);
    layout->addWidget(explanation);
    layout->addWidget(m_generalTitle);
    layout->addWidget(proceed, 0, Qt::AlignRight);
}

void PrintScreen::activate()
{
    const RunState &state = m_window.context().state;
    const int basket = state.currentBasket;
    m_basketNumber->setText(QString::number(basket));
    if (basket >= 1 && basket <= 3)
        m_count->setText(m_counts[size_t(basket - 1)]->text());
    // The toggle is shared with the archive window, which may have turned it over meanwhile.
    m_all->setText(ToggleAllCaption(state.tickAllToggle));
}

void PrintScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_activationWired) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget())) {
            connect(frame, &QMdiSubWindow::aboutToActivate, this, [this] { activate(); });
            m_activationWired = true;
        }
    }
    activate();
}

void PrintScreen::basketCounted(int basket, int count)
{
    if (basket >= 1 && basket <= 3)
        m_counts[size_t(basket - 1)]->setText(QString::number(count));
}

PrintFieldSet PrintScreen::fields() const
{
    PrintFieldSet set;
    for (size_t i = 0; i < m_boxes.size(); ++i)
        set.set(PrintField(i), m_boxes[i]->isChecked());
    return set;
}

PrintType PrintScreen::printType() const
{
    for (int i = 0; i < PrintTypeCount; ++i)
        if (m_types[size_t(i)]->isChecked())
            return PrintType(i);
    return PrintType::Custom;
}

void PrintScreen::printTypeChosen()
{
    const PrintType type = printType();
    const bool enabled = printFieldsEnabled(type);
    for (QCheckBox *box : m_boxes)
        box->setEnabled(enabled);
    m_all->setEnabled(enabled);
    m_fieldsLabel->setEnabled(enabled);
    m_fieldsFrame->setEnabled(enabled);
    paintCaption(m_types[size_t(PrintType::Custom)],
                 type == PrintType::Custom ? CaptionOn : CaptionBlack);
}

void PrintScreen::paintBox(QCheckBox *box)
{
    paintCaption(box, box->isChecked() ? CaptionOn : CaptionBlack);
}

void PrintScreen::toggleAllFields()
{
    PrintFieldSet set = fields();
    const QString caption = ToggleAllPrintFields(set, m_window.context().state.tickAllToggle);
    for (int i = 0; i < PrintDataFieldCount; ++i) {
        QCheckBox *box = m_boxes[size_t(i)];
        box->setChecked(set.has(PrintField(i)));
        paintBox(box);
    }
    m_all->setText(caption);
    nameControlsForAccessibility(this);
}

bool PrintScreen::choosePrintDestination(QString &pdfFile)
{
    Platform &platform = m_window.context().platform;
    pdfFile.clear();
    if (platform.linePrinter.hasDefaultPrinter())
        return true;
    if (platform.messageBox.show(MessageIcon::Question, MessageButtons::YesNo, NoPrinterQuestion,
                                 PrintMessageTitle) != MessageAnswer::Yes)
        return false;
    pdfFile = m_choosePdfFile ? m_choosePdfFile() : QString();
    return !pdfFile.isEmpty();
}

BasketPrintJob PrintScreen::makeJob(int basket, int count, const QString &pdfFile)
{
    const RunState &state = m_window.context().state;
    BasketPrintJob job;
    job.versionTitle = state.versionTitle;
    job.generalTitle = m_generalTitle->text();
    job.basket = basket;
    job.count = count;
    job.fields = fields();
    job.pdfFile = pdfFile;
    if (job.fields.has(PrintField::Criteria)) {
        // The criteria as the search screen holds them at this moment.
        job.criteria = state.searchCriteria;
        job.keywordCaptions = state.keywordCaptions;
    }
    return job;
}

void PrintScreen::PrintBasket()
{
    AppContext &context = m_window.context();
    Platform &platform = context.platform;
    const int basket = context.state.currentBasket;
    const int count = context.state.basketCounts[basket];

    if (count == 0) {
        platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                 EmptyBasketPrintMessage(basket), EmptyBasketPrintTitle);
        showCardOnBasket(basket, count);
        return;
    }

    // The general title first; then, without a printer, whether and where to make a PDF.
    m_titleDialog->exec();

    QString pdfFile;
    if (!choosePrintDestination(pdfFile)) {
        showCardOnBasket(basket, count);
        return;
    }

    // Any error ends the print: the pointer back to normal, then the reason.
    const auto printFailed = [&platform](const QString &reason) {
        platform.busyPointer.restore();
        platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                 PrintFailedMessage + reason, EmptyBasketPrintTitle);
    };

    try {
        const BasketPrintJob job = makeJob(basket, count, pdfFile);
        BusyPointerGuard busy(platform.busyPointer);
        // The basket itself in its order, whatever the card's set holds at this moment.
        ferlin::PrintBasket(job, *context.catalogue.db, platform.linePrinter);
    } catch (const PlatformError &error) {
        printFailed(error.description());
    } catch (const DbError &error) {
        printFailed(error.description());
    }
    showCardOnBasket(basket, count);
}

void PrintScreen::showCardOnBasket(int basket, int count)
{
    AppContext &context = m_window.context();
    Catalogue &catalogue = context.catalogue;
    if (!catalogue.isOpen())
        return;
    auto *card = m_window.card();
    if (!card)
        return;
    try {
        // Whatever the card held (the whole base, a search result), it is left on the basket.
        context.card.openBasket(basket);
        card->OpenCard(CardState::BasketMode, basket, count, 1);
    } catch (const DbError &error) {
        context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                         error.description(), EmptyBasketPrintTitle);
    }
    m_window.show(Screen::Card);
}

} // namespace ferlin
