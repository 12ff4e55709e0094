#include "gui/output/archivewindow.h"

#include "core/db/fieldpresentation.h"

#include "core/context/appcontext.h"
#include "core/db/dberror.h"
#include "core/db/schema.h"
#include "core/output/archivefile.h"
#include "core/output/rtfreader.h"
#include "core/output/rtfwriter.h"
#include "core/platform/platformerror.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/captioncolours.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/screenhost.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const QString NoArchiveCaption = QStringLiteral("Pas d'archive ouverte");
const QString ExportCaption = QStringLiteral("Nom de l'export : ");
const QString ImportCaption = QStringLiteral(" Archive importée : ");
const QString ImportFailedMessage = QStringLiteral("L'archive n'a pas pu être importée.\r\n");
const QString ExportFailedMessage =
    QStringLiteral("L'archive n'a pas pu être enregistrée dans « %1 ».\r\n%2");
const QColor CaptionBlack(0x00, 0x00, 0x00);

struct TypeOption {
    const char *caption;
    const char *toolTip;
};
const TypeOption TypeOptions[4] = {
    {"Intégral", " L'archive contiendra tous les champs du panier  "},
    {"Bibliographie", " L'archive contiendra les champs bibliographiques "},
    {"Liste des titres", " L'archive contiendra les titres des articles  "},
    {"Personnalisé", " L'archive contiendra les champs sélectionnés  "},
};

// The order of the boxes in the frame, as the window shows them.
const PrintField FrameOrder[PrintFieldCount] = {
    PrintField::Numbering, PrintField::Title,    PrintField::Subtitle,    PrintField::Author,
    PrintField::Bulletin,  PrintField::Year,     PrintField::Month,       PrintField::Page,
    PrintField::PageCount, PrintField::Domain,   PrintField::PointOfView, PrintField::Level,
    PrintField::Keywords,  PrintField::Criteria, PrintField::Summary,     PrintField::Volume};

// The captions of the archive window's boxes (Check_Num has none on the print screen).
QString boxCaption(PrintField field)
{
    if (field == PrintField::Numbering)
        return QStringLiteral("Numérotation");
    return printFieldInfo(field).caption;
}

// The picture of a toggle, read from the program's folder: "Bld-up.bmp" / "Bld-mds.bmp" for
// bold, "Itl-up.bmp" / "Itl-mds.bmp" for italic (released / pressed). Null when missing.
QIcon togglePicture(bool bold, bool pressed)
{
    const QString name = QString::fromLatin1(bold ? "Bld" : "Itl") +
                         QString::fromLatin1(pressed ? "-mds.bmp" : "-up.bmp");
    const QPixmap picture(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    return picture.isNull() ? QIcon() : QIcon(picture);
}

// Shows the picture of a toggle, or its letter when the picture file is missing: the toggle
// works either way.
void showToggle(QToolButton *button, const QString &letter, bool bold, bool pressed)
{
    const QIcon icon = togglePicture(bold, pressed);
    if (icon.isNull()) {
        button->setIcon(QIcon());
        button->setText(letter);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        button->setIcon(icon);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

// Whether some character of the selection (or the typing format, with no selection) has a
// property.
template <typename Test> bool selectionHasAny(QTextEdit *text, Test test)
{
    const QTextCursor cursor = text->textCursor();
    if (!cursor.hasSelection())
        return test(text->currentCharFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QTextCursor walker(text->document());
    for (int pos = start; pos < end; ++pos) {
        walker.setPosition(pos + 1);
        if (test(walker.charFormat()))
            return true;
    }
    return false;
}

const QString RtfFilter = QStringLiteral("Documents RTF (*.RTF)");

} // namespace

ArchiveWindow::ArchiveWindow(ScreenHost &window) : m_window(window)
{
    setObjectName(QStringLiteral("F_Export"));
    setWindowTitle(QStringLiteral("Archivage des paniers"));
    m_exportFile = [this] {
        QString filter;
        const QString file = QFileDialog::getSaveFileName(
            this, QStringLiteral("Exporter l'archive"), QString(), fileFilter(), &filter);
        m_exportExtension = filter == RtfFilter ? QStringLiteral("RTF") : QStringLiteral("FRD");
        return file;
    };
    m_importFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Importer une archive"), QString(),
                                            importFileFilter());
    };
    m_chooseFont = [this](const QFont &current) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, current, this);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };
    m_chooseColour = [this](const QColor &current) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(current, this);
        return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
    };
    const auto &names = Settings::printFieldNames();
    for (int i = 0; i < PrintFieldCount; ++i) {
        const QString &key = printFieldInfo(PrintField(i)).settingsKey;
        m_settingsIndex[size_t(i)] =
            int(std::find(names.begin(), names.end(), key) - names.begin());
    }
    build();
    loadTicks(m_window.context().state.settings);
    colourTickedFieldBoxes();
    nameControlsForAccessibility(this);
}

ArchiveWindow::~ArchiveWindow() = default;

QString ArchiveWindow::fileFilter()
{
    return QStringLiteral("Documents FRD (*.FRD);;") + RtfFilter;
}

QString ArchiveWindow::importFileFilter()
{
    // A file saved under any name can be read again.
    return fileFilter() + QStringLiteral(";;Tous les fichiers (*)");
}

void ArchiveWindow::build()
{
    auto *layout = new QVBoxLayout(this);

    auto *heading = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral("MANIPULATION DES ARCHIVES"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);
    auto *number = new QLabel(QStringLiteral("F 19"), this);
    number->setObjectName(QStringLiteral("Label22"));
    paintCaption(number, CaptionOff);
    heading->addWidget(title);
    heading->addStretch();
    heading->addWidget(number);
    layout->addLayout(heading);

    layout->addWidget(buildChoices());
    layout->addWidget(buildFieldsFrame());

    m_name = new QLabel(NoArchiveCaption, this);
    m_name->setObjectName(QStringLiteral("Lbl_NomExport"));
    layout->addWidget(m_name);
    layout->addWidget(buildEditBar());

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("RichTextBox1"));
    m_text->setAcceptRichText(true);
    layout->addWidget(m_text, 1);
}

QWidget *ArchiveWindow::buildChoices()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *baskets = new QWidget(row);
    auto *basketsLayout = new QVBoxLayout(baskets);
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(QStringLiteral("Panier %1").arg(i + 1), baskets);
        option->setObjectName(QStringLiteral("OpP_%1").arg(i));
        connect(option, &QRadioButton::clicked, this, [this, i] { basketChosen(i); });
        basketsLayout->addWidget(option);
        m_baskets[size_t(i)] = option;
    }
    m_baskets[0]->setChecked(true);
    exclusiveGroup(this, m_baskets);
    layout->addWidget(baskets);

    auto *types = new QGroupBox(QStringLiteral(" Type d'archivage "), row);
    types->setObjectName(QStringLiteral("Frame1"));
    auto *typesLayout = new QVBoxLayout(types);
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(QString::fromUtf8(TypeOptions[i].caption), types);
        option->setObjectName(QStringLiteral("Op_TypeEx_%1").arg(i));
        option->setToolTip(QString::fromUtf8(TypeOptions[i].toolTip));
        connect(option, &QRadioButton::clicked, this, [this] { typeChosen(); });
        typesLayout->addWidget(option);
        m_types[size_t(i)] = option;
    }
    m_types[0]->setChecked(true);
    exclusiveGroup(this, m_types);
    layout->addWidget(types);

    auto *buttons = new QVBoxLayout;
    const auto pictureButton = [this, row](const char *name, const char *toolTip,
                                           QStyle::StandardPixmap picture) {
        auto *button = new QPushButton(row);
        button->setObjectName(QString::fromUtf8(name));
        button->setToolTip(QString::fromUtf8(toolTip));
        button->setIcon(style()->standardIcon(picture));
        return button;
    };
    m_ticks = pictureButton("Cmd_Coches", " Sélectionner les champs à archiver   ",
                            QStyle::SP_FileDialogDetailedView);
    m_ticks->hide();
    connect(m_ticks, &QPushButton::clicked, this,
            [this] { m_fieldsFrame->setVisible(m_fieldsFrame->isHidden()); });
    auto *archive = pictureButton(
        "Cmd_Archive", " Transférer le panier sélectionné vers l'archive  ", QStyle::SP_ArrowRight);
    connect(archive, &QPushButton::clicked, this, [this] { archiveChosenBasket(); });
    auto *exportButton = pictureButton("Cmd_Exporte", " Exporter l'archive affichée   ",
                                       QStyle::SP_DialogSaveButton);
    connect(exportButton, &QPushButton::clicked, this, [this] { exportArchive(); });
    auto *importButton =
        pictureButton("Cmd_Importe", " Importer une archive   ", QStyle::SP_DialogOpenButton);
    connect(importButton, &QPushButton::clicked, this, [this] { importArchive(); });
    auto *print =
        pictureButton("Cmd_PrintArchive", " Imprimer l'archive courante  ", QStyle::SP_FileIcon);
    connect(print, &QPushButton::clicked, this, [this] { printArchive(); });
    for (QPushButton *button : {m_ticks, archive, exportButton, importButton, print})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    return row;
}

QWidget *ArchiveWindow::buildFieldsFrame()
{
    m_fieldsFrame = new QGroupBox(QStringLiteral(" Champs sélectionnés "), this);
    m_fieldsFrame->setObjectName(QStringLiteral("Frame3"));
    m_fieldsFrame->installEventFilter(this);
    auto *layout = new QGridLayout(m_fieldsFrame);
    auto *explanation =
        new QLabel(QStringLiteral("Cochez les champs que vous voulez sélectionner"), m_fieldsFrame);
    explanation->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(explanation, 0, 0, 1, 4);
    for (int i = 0; i < PrintFieldCount; ++i) {
        const PrintField field = FrameOrder[i];
        auto *box = new QCheckBox(boxCaption(field), m_fieldsFrame);
        box->setObjectName(printFieldInfo(field).boxName);
        if (field == PrintField::Numbering || field == PrintField::Criteria)
            box->setToolTip(QStringLiteral(" Cocher pour archiver les critères de sélection "));
        paintCaption(box, CaptionBlack);
        connect(box, &QCheckBox::clicked, this, [this, box] { paintBox(box); });
        connect(box, &QCheckBox::stateChanged, this, [this, field] { tickChanged(field); });
        layout->addWidget(box, 1 + i / 4, i % 4);
        m_boxes[size_t(field)] = box;
    }
    m_all =
        new QPushButton(ToggleAllCaption(m_window.context().state.tickAllToggle), m_fieldsFrame);
    m_all->setObjectName(QStringLiteral("Cmd_tous"));
    m_all->setToolTip(QStringLiteral(" Sélectionne/désélectionne tous les champs "));
    connect(m_all, &QPushButton::clicked, this, [this] { toggleAllFields(); });
    layout->addWidget(m_all, 1 + PrintFieldCount / 4, 0, 1, 2);
    m_fieldsFrame->hide();
    return m_fieldsFrame;
}

QWidget *ArchiveWindow::buildEditBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *font = new QPushButton(QStringLiteral("Police"), bar);
    font->setObjectName(QStringLiteral("Cmd_Police"));
    connect(font, &QPushButton::clicked, this, [this] { chooseFont(); });
    auto *colour = new QPushButton(QStringLiteral("Couleur"), bar);
    colour->setObjectName(QStringLiteral("Cmd_Couleur"));
    connect(colour, &QPushButton::clicked, this, [this] { chooseColour(); });
    m_bold = new QToolButton(bar);
    m_bold->setObjectName(QStringLiteral("ImageBold"));
    m_bold->setToolTip(QStringLiteral("Gras"));
    m_bold->setText(QStringLiteral("G"));
    showToggle(m_bold, QStringLiteral("G"), true, false);
    connect(m_bold, &QToolButton::clicked, this, [this] { toggleBold(); });
    m_italic = new QToolButton(bar);
    m_italic->setObjectName(QStringLiteral("ImageItalic"));
    m_italic->setToolTip(QStringLiteral("Italique"));
    m_italic->setText(QStringLiteral("I"));
    showToggle(m_italic, QStringLiteral("I"), false, false);
    connect(m_italic, &QToolButton::clicked, this, [this] { toggleItalic(); });
    layout->addWidget(font);
    layout->addWidget(colour);
    layout->addWidget(m_bold);
    layout->addWidget(m_italic);
    layout->addStretch();
    return bar;
}

void ArchiveWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The toggle is shared with the print screen, which may have turned it over meanwhile.
    m_all->setText(ToggleAllCaption(m_window.context().state.tickAllToggle));
}

bool ArchiveWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the frame itself (not on one of its boxes) hides it.
    if (watched == m_fieldsFrame && event->type() == QEvent::MouseButtonRelease)
        m_fieldsFrame->hide();
    return QWidget::eventFilter(watched, event);
}

void ArchiveWindow::settingsLoaded(const Settings &settings)
{
    loadTicks(settings);
}

void ArchiveWindow::loadTicks(const Settings &settings)
{
    const auto values = settings.printFields;
    m_loading = true;
    for (int i = 0; i < PrintFieldCount; ++i) {
        const int index = m_settingsIndex[size_t(i)];
        if (index < 0 || index >= int(values.size()))
            continue;
        const int value = values[size_t(index)];
        QCheckBox *box = m_boxes[size_t(i)];
        box->setCheckState(value == 1   ? Qt::Checked
                           : value == 2 ? Qt::PartiallyChecked
                                        : Qt::Unchecked);
    }
    m_loading = false;
}

void ArchiveWindow::colourTickedFieldBoxes()
{
    for (QCheckBox *box : m_boxes)
        paintBox(box);
}

void ArchiveWindow::tickChanged(PrintField field)
{
    if (m_loading)
        return;
    const int index = m_settingsIndex[size_t(field)];
    auto &values = m_window.context().state.settings.printFields;
    if (index < 0 || index >= int(values.size()))
        return;
    const Qt::CheckState state = m_boxes[size_t(field)]->checkState();
    values[size_t(index)] = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

void ArchiveWindow::paintBox(QCheckBox *box)
{
    paintCaption(box, box->checkState() == Qt::Checked ? CaptionOn : CaptionBlack);
}

PrintFieldSet ArchiveWindow::fields() const
{
    PrintFieldSet set;
    for (int i = 0; i < PrintFieldCount; ++i)
        set.set(PrintField(i), m_boxes[size_t(i)]->checkState() == Qt::Checked);
    return set;
}

int ArchiveWindow::selectedBasket() const
{
    for (int i = 0; i < 3; ++i)
        if (m_baskets[size_t(i)]->isChecked())
            return i + 1;
    return 1;
}

ArchiveType ArchiveWindow::archiveType() const
{
    for (int i = 0; i < 4; ++i)
        if (m_types[size_t(i)]->isChecked())
            return archiveTypeForOption(i);
    return ArchiveType::Full;
}

void ArchiveWindow::basketChosen(int index)
{
    const int basket = index + 1;
    if (m_window.context().state.basketCounts[basket] == 0)
        m_window.context().platform.messageBox.show(
            MessageIcon::Critical, MessageButtons::Ok,
            QStringLiteral("La panier %1 est actuellement vide").arg(basket),
            defaultMessageTitle());
}

void ArchiveWindow::typeChosen()
{
    m_ticks->setVisible(m_types[3]->isChecked());
}

void ArchiveWindow::toggleAllFields()
{
    PrintFieldSet set = fields();
    const QString caption = ToggleAllPrintFields(set, m_window.context().state.tickAllToggle);
    for (int i = 0; i < PrintDataFieldCount; ++i) {
        QCheckBox *box = m_boxes[size_t(i)];
        box->setCheckState(set.has(PrintField(i)) ? Qt::Checked : Qt::Unchecked);
        paintBox(box);
    }
    m_all->setText(caption);
    nameControlsForAccessibility(this);
}

void ArchiveWindow::archiveChosenBasket()
{
    m_fieldsFrame->hide();
    AppContext &context = m_window.context();
    Platform &platform = context.platform;
    const int basket = selectedBasket();
    m_name->setText(QStringLiteral("Archive du panier n° %1").arg(basket));

    ArchiveInput input;
    input.basket = basket;
    input.type = archiveType();
    input.count = context.state.basketCounts[basket];
    input.versionTitle = context.state.versionTitle;
    input.fields = fields();
    if (input.type == ArchiveType::Custom) {
        // The criteria as the search screen holds them at this moment.
        input.criteria = context.state.searchCriteria;
        input.keywordCaptions = context.state.keywordCaptions;
    }
    try {
        fillingText([&] {
            BuildArchive(*m_text->document(), input, *context.catalogue.db, platform.messageBox,
                         platform.busyPointer);
        });
    } catch (const DbError &error) {
        platform.busyPointer.restore();
        platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok, error.description(),
                                 defaultMessageTitle());
    }
}

void ArchiveWindow::fillingText(const std::function<void()> &fill)
{
    // Laid out as it is written, a damaged text made of one endless word would take minutes at
    // word boundaries: the box wraps anywhere while it fills, and keeps that only for such a text.
    m_text->setWordWrapMode(QTextOption::WrapAnywhere);
    fill();
    if (!HasUnbrokenRun(m_text->toPlainText()))
        m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void ArchiveWindow::exportArchive()
{
    const QString kept = m_name->text();
    const QString file =
        WithArchiveExtension(m_exportFile ? m_exportFile() : QString(), m_exportExtension);
    if (file.isEmpty()) {
        m_name->setText(kept);
        return;
    }
    try {
        const QTextDocument &document = *m_text->document();
        SaveArchiveFile(file,
                        [&document](const ByteSink &write) { return writeRtf(document, write); });
    } catch (const PlatformError &error) {
        // The former file is kept; the user must know that the archive is not saved.
        m_name->setText(kept);
        m_window.context().platform.messageBox.show(
            MessageIcon::Exclamation, MessageButtons::Ok,
            ExportFailedMessage.arg(QDir::toNativeSeparators(file), error.description()),
            defaultMessageTitle());
        return;
    }
    m_name->setText(ExportCaption + QFileInfo(file).absoluteFilePath());
}

void ArchiveWindow::importArchive()
{
    const QString kept = m_name->text();
    const QString file = m_importFile ? m_importFile() : QString();
    if (file.isEmpty()) {
        m_name->setText(kept);
        return;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        m_name->setText(kept);
        return;
    }
    const QByteArray bytes = in.readAll();
    QString error;
    bool read = false;
    fillingText([&] { read = readRtf(bytes, *m_text->document(), &error); });
    if (!read) {
        m_name->setText(kept);
        m_window.context().platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                                    ImportFailedMessage + error,
                                                    defaultMessageTitle());
        return;
    }
    m_name->setText(ImportCaption + QFileInfo(file).absoluteFilePath());
}

void ArchiveWindow::printArchive()
{
    const QTextCursor cursor = m_text->textCursor();
    try {
        if (cursor.hasSelection()) {
            QTextDocument selection;
            QTextCursor(&selection).insertFragment(cursor.selection());
            m_window.context().platform.richTextPrinter.print(*m_text->document(), &selection);
        } else {
            m_window.context().platform.richTextPrinter.print(*m_text->document(), nullptr);
        }
    } catch (const PlatformError &) {
        // Printing ends silently on any failure.
    }
}

void ArchiveWindow::chooseFont()
{
    if (!m_chooseFont)
        return;
    const std::optional<QFont> font = m_chooseFont(m_text->currentCharFormat().font());
    if (!font)
        return;
    QTextCharFormat format;
    format.setFont(*font);
    m_text->mergeCurrentCharFormat(format);
}

void ArchiveWindow::chooseColour()
{
    if (!m_chooseColour)
        return;
    const std::optional<QColor> colour =
        m_chooseColour(m_text->currentCharFormat().foreground().color());
    if (!colour)
        return;
    QTextCharFormat format;
    format.setForeground(*colour);
    m_text->mergeCurrentCharFormat(format);
}

void ArchiveWindow::toggleBold()
{
    // A selection with any bold in it (bold or mixed) loses its bold.
    const bool anyBold = selectionHasAny(
        m_text, [](const QTextCharFormat &f) { return f.fontWeight() > QFont::Normal; });
    QTextCharFormat format;
    format.setFontWeight(anyBold ? QFont::Normal : QFont::Bold);
    m_text->mergeCurrentCharFormat(format);
    showToggle(m_bold, QStringLiteral("G"), true, !anyBold);
}

void ArchiveWindow::toggleItalic()
{
    const bool anyItalic =
        selectionHasAny(m_text, [](const QTextCharFormat &f) { return f.fontItalic(); });
    QTextCharFormat format;
    format.setFontItalic(!anyItalic);
    m_text->mergeCurrentCharFormat(format);
    showToggle(m_italic, QStringLiteral("I"), false, !anyItalic);
}

} // namespace ferlin
