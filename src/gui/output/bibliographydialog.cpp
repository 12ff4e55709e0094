#include "gui/output/bibliographydialog.h"

#include "core/context/appcontext.h"
#include "core/db/dberror.h"
#include "core/output/basketexport.h"
#include "gui/output/basketchoice.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/screenhost.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const QString Title = QStringLiteral("Bibliographie d'un panier");

// The list's data: the style's name, and the text the filter looks in.
constexpr int NameRole = Qt::UserRole;
constexpr int FilterRole = Qt::UserRole + 1;

// A text as the filter compares it: without accents, without regard to case.
QString filterKey(const QString &text)
{
    QString key;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing)
            key += c;
    }
    return key.toCaseFolded();
}

QString askFile(QWidget *parent, const QString &suggested, BibliographyFormat format)
{
    const BibliographyFileType &type = bibliographyFileType(format);
    const QString filter =
        type.caption.section(u'(', 0, 0).trimmed() + QStringLiteral(" (*.") + type.extension + u')';
    // Replacing a file is asked once, after the type's extension has been given to the name.
    return QFileDialog::getSaveFileName(parent, Title, suggested, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString copiedMessage(int count, const QString &style)
{
    const QString copied = count == 1
                               ? QStringLiteral("1 référence copiée")
                               : QString::number(count) + QStringLiteral(" références copiées");
    return copied + QStringLiteral(" dans le presse-papiers dans le style « %1 ».").arg(style);
}

} // namespace

BibliographyDialog::BibliographyDialog(ScreenHost &window, QWidget *parent)
    : QDialog(parent), m_window(window)
{
    setObjectName(QStringLiteral("BibliographiePanier"));
    setWindowTitle(Title);
    setModal(true);
    m_chooseFile = [this](const QString &suggested, BibliographyFormat format) {
        return askFile(this, suggested, format);
    };
    m_previewDelay.setSingleShot(true);
    m_previewDelay.setInterval(150); // choices made in a row start one preview
    connect(&m_previewDelay, &QTimer::timeout, this, &BibliographyDialog::startPreview);
    connect(&m_previewTask, &BibliographyTask::ended, this, &BibliographyDialog::previewEnded);
    connect(&m_task, &BibliographyTask::ended, this, &BibliographyDialog::workFinished);
    build();
}

BibliographyDialog::~BibliographyDialog()
{
    // The tasks end (their children killed) before the widgets their ends would touch.
    disconnect(&m_previewTask, nullptr, this, nullptr);
    disconnect(&m_task, nullptr, this, nullptr);
}

void BibliographyDialog::build()
{
    // Built in reading order, which is the order of Tab.
    m_baskets = new BasketChoice(
        QStringLiteral("Les trois paniers sont vides : il n'y a rien à mettre en forme."), this);

    auto *languages = new QGroupBox(QStringLiteral("&Langue des termes"), this);
    languages->setObjectName(QStringLiteral("Frame_Langue"));
    auto *languageLayout = new QVBoxLayout(languages);
    const std::array<QString, 2> languageCaptions = {QStringLiteral("Français (s. d., et al., p.)"),
                                                     QStringLiteral("Anglais (n.d., et al., p.)")};
    for (size_t i = 0; i < m_languages.size(); ++i) {
        m_languages[i] = new QRadioButton(languageCaptions.at(i), languages);
        m_languages[i]->setObjectName(QStringLiteral("Option_Langue_") + QString::number(i));
        languageLayout->addWidget(m_languages[i]);
    }
    exclusiveGroup(this, m_languages);
    m_languages[0]->setChecked(true);

    auto *orders = new QGroupBox(QStringLiteral("&Ordre"), this);
    orders->setObjectName(QStringLiteral("Frame_Ordre"));
    auto *orderLayout = new QVBoxLayout(orders);
    const std::array<QString, 2> orderCaptions = {QStringLiteral("Celui du style"),
                                                  QStringLiteral("Celui de la liste du panier")};
    for (size_t i = 0; i < m_orders.size(); ++i) {
        m_orders[i] = new QRadioButton(orderCaptions.at(i), orders);
        m_orders[i]->setObjectName(QStringLiteral("Option_Ordre_") + QString::number(i));
        orderLayout->addWidget(m_orders[i]);
    }
    exclusiveGroup(this, m_orders);
    m_orders[0]->setChecked(true);

    auto *filterLabel = new QLabel(QStringLiteral("&Filtre :"), this);
    filterLabel->setObjectName(QStringLiteral("Lab_Filtre"));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Txt_Filtre"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(QStringLiteral("une partie du nom du style"));
    filterLabel->setBuddy(m_filter);
    auto *styleLabel = new QLabel(QStringLiteral("&Style :"), this);
    styleLabel->setObjectName(QStringLiteral("Lab_Style"));
    m_styleList = new QListWidget(this);
    m_styleList->setObjectName(QStringLiteral("Lst_Style"));
    m_styleList->setUniformItemSizes(true); // some thousand styles
    styleLabel->setBuddy(m_styleList);

    auto *previewLabel = new QLabel(QStringLiteral("Aperç&u des premières références :"), this);
    previewLabel->setObjectName(QStringLiteral("Lab_Apercu"));
    m_preview = new QTextBrowser(this);
    m_preview->setObjectName(QStringLiteral("Txt_Apercu"));
    m_preview->setOpenLinks(false);
    m_preview->setFocusPolicy(Qt::StrongFocus);
    m_preview->document()->setDefaultStyleSheet(
        QStringLiteral(".csl-entry { margin-bottom: 6px; }"));
    previewLabel->setBuddy(m_preview);

    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("Lab_Etat"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Prg_MiseEnForme"));
    m_progress->setRange(0, 0); // pandoc does not say how far it is
    m_progress->setTextVisible(false);
    m_stop = new QPushButton(QStringLiteral("&Arrêter"), this);
    m_stop->setObjectName(QStringLiteral("Cmd_Arreter"));
    m_stop->setAutoDefault(false);

    auto *typeLabel = new QLabel(QStringLiteral("&Type du fichier :"), this);
    typeLabel->setObjectName(QStringLiteral("Lab_Type"));
    m_fileType = new QComboBox(this);
    m_fileType->setObjectName(QStringLiteral("Cmb_Type"));
    for (const BibliographyFileType &type : bibliographyFileTypes())
        m_fileType->addItem(type.caption, int(type.format));
    typeLabel->setBuddy(m_fileType);
    m_save = new QPushButton(QStringLiteral("&Enregistrer…"), this);
    m_save->setObjectName(QStringLiteral("Cmd_Enregistrer"));
    m_save->setAutoDefault(false);
    m_copy = new QPushButton(QStringLiteral("&Copier"), this);
    m_copy->setObjectName(QStringLiteral("Cmd_Copier"));
    m_copy->setDefault(true);
    m_close = new QPushButton(QStringLiteral("Fermer"), this);
    m_close->setObjectName(QStringLiteral("Cmd_Fermer"));
    m_close->setAutoDefault(false);

    auto *options = new QVBoxLayout;
    options->addWidget(languages);
    options->addWidget(orders);
    auto *top = new QHBoxLayout;
    top->addWidget(m_baskets);
    top->addLayout(options);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(styleLabel);
    filterRow->addStretch(1);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    m_filter->setMinimumWidth(280);
    auto *stateRow = new QHBoxLayout;
    stateRow->addWidget(m_state);
    stateRow->addWidget(m_progress, 1);
    stateRow->addWidget(m_stop);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(typeLabel);
    buttons->addWidget(m_fileType);
    buttons->addWidget(m_save);
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filterRow);
    layout->addWidget(m_styleList, 2);
    layout->addWidget(previewLabel);
    layout->addWidget(m_preview, 1);
    layout->addLayout(stateRow);
    layout->addLayout(buttons);
    resize(720, 640);

    // Tab: the basket, the language, the order, the filter, the list, the preview, the type and
    // the buttons, as they read.
    setTabOrder(m_filter, m_styleList);
    setTabOrder(m_styleList, m_preview);
    setTabOrder(m_preview, m_stop);
    setTabOrder(m_stop, m_fileType);

    m_choices = {m_baskets, languages, orders, m_filter, m_styleList, m_fileType};
    setRunning(false);

    for (QRadioButton *basket : m_baskets->findChildren<QRadioButton *>())
        connect(basket, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                choiceChanged();
        });
    for (QRadioButton *option : {m_languages[0], m_languages[1], m_orders[0], m_orders[1]})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                choiceChanged();
        });
    connect(m_filter, &QLineEdit::textChanged, this, &BibliographyDialog::filterStyles);
    connect(m_styleList, &QListWidget::currentItemChanged, this,
            &BibliographyDialog::choiceChanged);
    connect(m_stop, &QPushButton::clicked, this, &BibliographyDialog::stop);
    connect(m_save, &QPushButton::clicked, this, &BibliographyDialog::saveChosen);
    connect(m_copy, &QPushButton::clicked, this, &BibliographyDialog::copyChosen);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);

    nameControlsForAccessibility(this);
    // An input is named by its label, as it reads.
    for (QLabel *label : findChildren<QLabel *>()) {
        if (QWidget *buddy = label->buddy()) {
            QString name = label->text();
            name.remove(u'&');
            buddy->setAccessibleName(name.section(QStringLiteral(" :"), 0, 0).trimmed());
        }
    }
    m_progress->setAccessibleName(QStringLiteral("Mise en forme"));
}

void BibliographyDialog::fillStyles()
{
    m_styles = installedCitationStyles(citationStyleFolders());
    const QSignalBlocker quiet(m_styleList);
    m_styleList->clear();
    for (const CitationStyle &style : m_styles) {
        auto *item = new QListWidgetItem(style.caption, m_styleList);
        item->setData(NameRole, style.name);
        item->setData(FilterRole, filterKey(style.caption + u' ' + style.name));
        item->setToolTip(style.name + QStringLiteral(".csl"));
    }
    // The style chosen last time, or the first.
    const BibliographyChoice choice = ReadBibliographyChoice(m_window.context().platform.settings);
    int row = 0;
    for (int i = 0; i < m_styleList->count(); ++i) {
        if (m_styleList->item(i)->data(NameRole).toString() == choice.style) {
            row = i;
            break;
        }
    }
    m_styleList->setCurrentRow(row);
    m_languages[choice.language == TermsLanguage::English ? 1 : 0]->setChecked(true);
}

void BibliographyDialog::filterStyles(const QString &filter)
{
    const QString key = filterKey(filter.trimmed());
    QListWidgetItem *firstShown = nullptr;
    for (int i = 0; i < m_styleList->count(); ++i) {
        QListWidgetItem *item = m_styleList->item(i);
        const bool shown = key.isEmpty() || item->data(FilterRole).toString().contains(key);
        item->setHidden(!shown);
        if (shown && !firstShown)
            firstShown = item;
    }
    // The style chosen stays chosen while it is shown; otherwise the first one shown is.
    QListWidgetItem *current = m_styleList->currentItem();
    if (firstShown && (!current || current->isHidden()))
        m_styleList->setCurrentItem(firstShown);
    else if (current)
        m_styleList->scrollToItem(current);
}

bool BibliographyDialog::showWithCounts()
{
    m_pandoc = findPandoc();
    const QString missing = bibliographyToolsMissing(m_pandoc, citationStyleFolders());
    if (!missing.isEmpty()) {
        tell(MessageIcon::Exclamation, missing);
        return false;
    }
    if (m_styles.empty())
        fillStyles();
    const bool any = m_baskets->refresh(m_window.context().state.basketCounts);
    m_copy->setEnabled(any);
    m_save->setEnabled(any);
    show();
    raise();
    activateWindow();
    if (!m_baskets->focusSelected())
        m_styleList->setFocus();
    m_previewDelay.stop();
    startPreview();
    return true;
}

int BibliographyDialog::selectedBasket() const
{
    return m_baskets->selected();
}

QString BibliographyDialog::selectedStyle() const
{
    const QListWidgetItem *item = m_styleList->currentItem();
    return item ? item->data(NameRole).toString() : QString();
}

TermsLanguage BibliographyDialog::selectedLanguage() const
{
    return m_languages[1]->isChecked() ? TermsLanguage::English : TermsLanguage::French;
}

BibliographyOrder BibliographyDialog::selectedOrder() const
{
    return m_orders[1]->isChecked() ? BibliographyOrder::Basket : BibliographyOrder::Style;
}

BibliographyFormat BibliographyDialog::selectedFileType() const
{
    return BibliographyFormat(m_fileType->currentData().toInt());
}

bool BibliographyDialog::isBusy() const
{
    return m_previewDelay.isActive() || m_previewTask.isRunning() || m_task.isRunning();
}

QString BibliographyDialog::styleCaption() const
{
    const QListWidgetItem *item = m_styleList->currentItem();
    return item ? item->text() : QString();
}

BibliographyRequest BibliographyDialog::request(BibliographyFormat format) const
{
    BibliographyRequest request;
    const QString name = selectedStyle();
    for (const CitationStyle &style : m_styles) {
        if (style.name == name)
            request.styleFile = style.file;
    }
    request.language = selectedLanguage();
    request.order = selectedOrder();
    request.format = format;
    return request;
}

void BibliographyDialog::choiceChanged()
{
    if (isVisible())
        m_previewDelay.start();
}

void BibliographyDialog::startPreview()
{
    AppContext &context = m_window.context();
    const int basket = selectedBasket();
    if (!context.catalogue.db || context.state.basketCounts[basket] <= 0 ||
        selectedStyle().isEmpty()) {
        m_previewTask.cancel();
        m_preview->clear();
        return;
    }
    BasketExport first;
    try {
        first = ReadBasketForExport(*context.catalogue.db, basket,
                                    exportTextsFolder(context.state.settings), PreviewCount);
    } catch (const DbError &error) {
        m_previewTask.cancel();
        m_preview->setPlainText(error.description());
        return;
    }
    if (!m_previewTask.start(m_pandoc, first, request(BibliographyFormat::Html),
                             bibliographyTimeLimitMs(PreviewCount)))
        m_preview->setPlainText(m_previewTask.failure());
}

void BibliographyDialog::previewEnded()
{
    if (m_previewTask.outcome() == BibliographyTask::Outcome::Done)
        m_preview->setHtml(QString::fromUtf8(m_previewTask.result().output));
    else if (m_previewTask.outcome() == BibliographyTask::Outcome::Failed)
        m_preview->setPlainText(m_previewTask.failure());
}

void BibliographyDialog::copyChosen()
{
    BibliographyRequest copy = request(BibliographyFormat::Html);
    copy.withText = true;
    startWork(Work::Copy, copy);
}

void BibliographyDialog::saveChosen()
{
    AppContext &context = m_window.context();
    const int basket = selectedBasket();
    if (m_task.isRunning() || context.state.basketCounts[basket] <= 0 || !context.catalogue.db)
        return;
    const BibliographyFormat format = selectedFileType();
    const QString suggested = withBibliographyExtension(
        m_file.isEmpty() ? QDir::home().filePath(QStringLiteral("bibliographie-panier") +
                                                 QString::number(basket))
                         : m_file,
        format);
    const QString chosen = m_chooseFile(suggested, format);
    if (chosen.trimmed().isEmpty())
        return;
    const QString file =
        QDir::home().absoluteFilePath(withBibliographyExtension(chosen.trimmed(), format));
    if (QFileInfo::exists(file) &&
        context.platform.messageBox.show(
            MessageIcon::Question, MessageButtons::YesNo,
            QStringLiteral("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?")
                .arg(QDir::toNativeSeparators(file)),
            Title) != MessageAnswer::Yes)
        return;
    m_file = file;
    BibliographyRequest save = request(format);
    save.document = true;
    save.title = QStringLiteral("Bibliographie du panier n° ") + QString::number(basket);
    startWork(Work::Save, save);
}

bool BibliographyDialog::startWork(Work work, const BibliographyRequest &request)
{
    AppContext &context = m_window.context();
    const int basket = selectedBasket();
    if (m_task.isRunning() || context.state.basketCounts[basket] <= 0 || !context.catalogue.db)
        return false;
    if (request.styleFile.isEmpty()) {
        tell(MessageIcon::Exclamation, QStringLiteral("Choisissez un style dans la liste."));
        m_styleList->setFocus();
        return false;
    }
    rememberChoice();
    BasketExport references;
    try {
        BusyPointerGuard busy(context.platform.busyPointer);
        references = ReadBasketForExport(*context.catalogue.db, basket,
                                         exportTextsFolder(context.state.settings));
    } catch (const DbError &error) {
        tell(MessageIcon::Critical, QStringLiteral("Le panier n° %1 n'a pas pu être lu : %2")
                                        .arg(QString::number(basket), error.description()));
        return false;
    }
    const int count = int(references.references.size());
    m_work = work;
    if (!m_task.start(m_pandoc, references, request, bibliographyTimeLimitMs(count))) {
        m_work = Work::None;
        tell(MessageIcon::Critical, m_task.failure());
        return false;
    }
    setRunning(true, count);
    return true;
}

void BibliographyDialog::workFinished()
{
    const Work work = m_work;
    m_work = Work::None;
    setRunning(false);
    switch (m_task.outcome()) {
    case BibliographyTask::Outcome::Done: {
        const Bibliography &done = m_task.result();
        if (work == Work::Copy) {
            CopyBibliography(done, m_window.context().platform.clipboard);
            hide();
            tell(MessageIcon::Information, copiedMessage(done.count, styleCaption()));
        } else if (work == Work::Save) {
            try {
                WriteFileAtomically(m_file, done.output);
                hide();
                tell(MessageIcon::Information, bibliographyDoneMessage(done.count, m_file));
            } catch (const ExportError &error) {
                tell(MessageIcon::Critical, error.message());
            }
        }
        break;
    }
    case BibliographyTask::Outcome::Failed:
        tell(MessageIcon::Critical, m_task.failure());
        break;
    default: // stopped: nothing is written or copied
        break;
    }
    Q_EMIT workEnded();
}

void BibliographyDialog::stop()
{
    m_task.cancel();
}

void BibliographyDialog::setRunning(bool running, int count)
{
    if (running)
        m_state->setText(
            count == 1
                ? QStringLiteral("Mise en forme d'une référence…")
                : QStringLiteral("Mise en forme de %1 références…").arg(QString::number(count)));
    m_state->setVisible(running);
    m_progress->setVisible(running);
    m_stop->setVisible(running);
    for (QWidget *choice : m_choices)
        choice->setEnabled(!running);
    m_save->setEnabled(!running);
    m_copy->setEnabled(!running);
    if (running)
        m_stop->setFocus();
}

void BibliographyDialog::rememberChoice()
{
    const QString style = selectedStyle();
    if (style.isEmpty())
        return;
    AppContext &context = m_window.context();
    WriteBibliographyChoice(context.platform.settings, context.platform.messageBox,
                            {style, selectedLanguage()});
}

void BibliographyDialog::hideEvent(QHideEvent *event)
{
    // Closed, not minimised: what runs is stopped, the choice kept.
    if (!event->spontaneous()) {
        m_previewDelay.stop();
        m_previewTask.cancel();
        m_task.cancel();
        rememberChoice();
    }
    QDialog::hideEvent(event);
}

void BibliographyDialog::tell(MessageIcon icon, const QString &text)
{
    m_window.context().platform.messageBox.show(icon, MessageButtons::Ok, text, Title);
}

} // namespace ferlin
