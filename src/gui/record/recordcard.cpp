#include "gui/record/recordcard.h"

#include "core/db/fieldpresentation.h"
#include "core/db/schema.h"

#include "core/context/appcontext.h"
#include "core/record/cardbrowser.h"
#include "core/record/goto.h"
#include "gui/record/cardpanels.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/countlabels.h"
#include "gui/shell/moveicons.h"
#include "gui/shell/screenhost.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace ferlin {

namespace {

const QRect SmallSummary(120, 6000, 9360, 1215);
const QRect LargeSummary(120, 1650, 9360, 5565);
const QRect PanelPlace(4800, 3100, 4680, 2900);

const QColor BaseBackground(0xC0, 0xFF, 0xC0);
const QColor BaseText(0x00, 0x00, 0x80);
const QColor BasketBackground(0xFF, 0xFF, 0x80);
const QColor BasketText(0xC0, 0x00, 0x00);

// Stored line breaks are carriage return + line feed: shown as plain line breaks.
QString shown(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

// Shows a field in a text box; a damaged field made of one endless word is not wrapped, so that
// showing it stays immediate.
void showText(QPlainTextEdit *box, const QString &text)
{
    const auto mode = HasUnbrokenRun(text) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth;
    if (mode != box->lineWrapMode()) {
        // Changing the mode lays the old text out again: it goes first.
        box->clear();
        box->setLineWrapMode(mode);
    }
    box->setPlainText(text);
}

QPlainTextEdit *readOnlyText(const char *name)
{
    auto *edit = new QPlainTextEdit;
    edit->setObjectName(QString::fromUtf8(name));
    // The text can be selected (and copied) but never changed.
    edit->setReadOnly(true);
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return edit;
}

void setColours(QWidget *w, const QColor &background, const QColor &text)
{
    QPalette palette = w->palette();
    if (background.isValid())
        palette.setColor(QPalette::Window, background);
    if (text.isValid())
        palette.setColor(QPalette::WindowText, text);
    w->setPalette(palette);
}

} // namespace

RecordCard::RecordCard(ScreenHost &window)
    : m_window(window), m_context(window.context()),
      m_operations(std::make_unique<BasketOperations>(window.context(), *this))
{
    setObjectName(QStringLiteral("F_formul"));
    setAutoFillBackground(true);
    // The design stretches, the fonts do not: below this size the frame scrolls instead.
    setMinimumSize(MinimumWidth, MinimumHeight);
    build();
    applyMode(CardState::BaseMode, 0);
    // Built after the start-up, the card shows what it wrote.
    if (m_context.state.startupTextsSet)
        setStartupTexts();
    m_window.publishCounts();
    nameControlsForAccessibility(this);
}

RecordCard::~RecordCard() = default;

QGroupBox *RecordCard::addFrame(const char *name, const QString &caption, QWidget *content,
                                const QRect &twips)
{
    auto *frame = new QGroupBox(caption, this);
    frame->setObjectName(QString::fromUtf8(name));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(content);
    m_twips.insert(frame, twips);
    return frame;
}

QLabel *RecordCard::addFieldLabel(const char *frameName, const QString &caption,
                                  const char *labelName, const QRect &twips)
{
    auto *label = new QLabel;
    label->setObjectName(QString::fromUtf8(labelName));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addFrame(frameName, caption, label, twips);
    return label;
}

void RecordCard::build()
{
    m_rankLine = new QLabel(this);
    m_rankLine->setObjectName(QStringLiteral("Lab_rang"));
    QFont bold = m_rankLine->font();
    bold.setBold(true);
    m_rankLine->setFont(bold);
    m_twips.insert(m_rankLine, QRect(240, 120, 4800, 330));
    m_modeLabel = new QLabel(this);
    m_modeLabel->setObjectName(QStringLiteral("Lab_NumPanier"));
    m_modeLabel->setFont(bold);
    m_modeLabel->setAlignment(Qt::AlignCenter);
    m_modeLabel->setAutoFillBackground(true);
    m_twips.insert(m_modeLabel, QRect(6600, 120, 2880, 330));
    m_subtitleLink = new QLabel(QStringLiteral(" Sous-titre"), this);
    m_subtitleLink->setObjectName(QStringLiteral("Lab_ST1"));
    m_subtitleLink->setToolTip(QStringLiteral(" Cliquer pour affiche et masque le sous-titre "));
    m_subtitleLink->setCursor(Qt::PointingHandCursor);
    QFont link = m_subtitleLink->font();
    link.setUnderline(true);
    m_subtitleLink->setFont(link);
    setColours(m_subtitleLink, QColor(), QColor(0x00, 0x00, 0xFF));
    m_subtitleLink->installEventFilter(this);
    m_twips.insert(m_subtitleLink, QRect(5200, 120, 1300, 330));

    m_title = readOnlyText("Text1");
    addFrame("Frame_Titre", QStringLiteral("  Titre "), m_title, QRect(120, 480, 9360, 1100));
    m_fields.insert(QStringLiteral("Auteur"),
                    addFieldLabel("Frame_Auteur", QStringLiteral("  Auteur(s) "), "Label1",
                                  QRect(120, 1650, 4560, 1350)));
    m_fields.insert(QStringLiteral("An"), addFieldLabel("Frame_An", QStringLiteral(" Année "),
                                                        "Lab_an", QRect(4800, 1650, 1200, 650)));
    m_fields.insert(QStringLiteral("Numéro"),
                    addFieldLabel("Frame_Numero", QStringLiteral(" Numéro "), "Label8",
                                  QRect(6100, 1650, 1200, 650)));
    m_fields.insert(QStringLiteral("Mois"),
                    addFieldLabel("Frame_Mois", QStringLiteral("  Mois    "), "Lab_mois",
                                  QRect(7400, 1650, 2080, 650)));
    m_fields.insert(QStringLiteral("Volume"),
                    addFieldLabel("Frame_Volume", QStringLiteral("Volume "), "Label16",
                                  QRect(4800, 2350, 1200, 650)));
    m_fields.insert(QStringLiteral("Page"), addFieldLabel("Frame_Page", QStringLiteral(" Page(s) "),
                                                          "Label10", QRect(6100, 2350, 1200, 650)));
    m_fields.insert(
        QStringLiteral("NombrePages"),
        addFieldLabel("Frame_Nb", QStringLiteral(" Nb "), "Label9", QRect(7400, 2350, 1000, 650)));
    m_fields.insert(QStringLiteral("Domaine"),
                    addFieldLabel("Frame_Domaine", QStringLiteral(" Domaine(s) "), "Label12",
                                  QRect(120, 3100, 4560, 1000)));
    m_fields.insert(QStringLiteral("PointdeVue"),
                    addFieldLabel("Frame_PointdeVue", QStringLiteral("  Point(s) de vue   "),
                                  "Label13", QRect(4800, 3100, 4680, 1000)));
    m_fields.insert(QStringLiteral("Niveaux"),
                    addFieldLabel("Frame_Niveaux", QStringLiteral("Niveau(x) "), "Label14",
                                  QRect(120, 4200, 4560, 700)));
    m_fields.insert(QStringLiteral("MotsCles"),
                    addFieldLabel("Frame_MotsCles", QStringLiteral("  Mot(s) clé(s) "), "Label15",
                                  QRect(4800, 4200, 4680, 1700)));

    m_rangCaption = new QLabel(QStringLiteral("Rang dans la base :"), this);
    m_rangCaption->setObjectName(QStringLiteral("Lab_rangabs2"));
    m_twips.insert(m_rangCaption, QRect(120, 5100, 2000, 330));
    m_rang = new QLabel(this);
    m_rang->setObjectName(QStringLiteral("Lab_rangabs"));
    m_twips.insert(m_rang, QRect(2150, 5100, 1200, 330));
    m_fullText = new QLabel(this);
    m_fullText->setObjectName(QStringLiteral("Lab_Tintegral"));
    m_fullText->hide();
    m_disc = new QLabel(this);
    m_disc->setObjectName(QStringLiteral("Lbl_NoCD"));
    m_disc->hide();

    m_subtitle = readOnlyText("T_SousTitre");
    m_subtitleFrame = addFrame("Frame12", QStringLiteral(" Sous-titre "), m_subtitle,
                               QRect(120, 1650, 9360, 1000));
    m_subtitleFrame->setToolTip(QStringLiteral(" Cliquer pour masquer le sous-titre "));
    m_subtitleFrame->installEventFilter(this);
    m_subtitleFrame->hide();

    m_summary = readOnlyText("T_resume");
    m_summaryFrame = addFrame("Frame_resume", QStringLiteral(" Résumé "), m_summary, SmallSummary);
    m_summaryFrame->setToolTip(
        QStringLiteral(" Cliquer sur \"Résumé\" pour agrandir ou réduire le résumé "));
    m_summaryFrame->installEventFilter(this);

    auto button = [this](const char *name, const QString &caption, const QRect &twips) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        m_twips.insert(b, twips);
        return b;
    };
    auto picture = [this](const char *name, const QIcon &icon, const QString &tip,
                          const QRect &twips) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromUtf8(name));
        b->setIcon(icon);
        b->setToolTip(tip);
        b->setIconSize(QSize(24, 24));
        m_twips.insert(b, twips);
        return b;
    };
    m_first = picture("Cmd_Debut", moveIcon(MoveIcon::First),
                      QStringLiteral(" Première référence "), QRect(120, 7350, 500, 480));
    m_previous = picture("Cmd_Gauche", moveIcon(MoveIcon::Previous),
                         QStringLiteral(" Référence précédente "), QRect(660, 7350, 500, 480));
    m_next = picture("Cmd_Droite", moveIcon(MoveIcon::Next), QStringLiteral(" Référence suivante "),
                     QRect(1200, 7350, 500, 480));
    m_last = picture("Cmd_Fin", moveIcon(MoveIcon::Last), QStringLiteral(" Dernière référence "),
                     QRect(1740, 7350, 500, 480));
    m_navigate = button("Cmd_Naviguer", QStringLiteral("Navigue"), QRect(2400, 7350, 1100, 480));
    m_text = button("Cmd_DOC", QString(), QRect(3600, 7350, 1000, 480));
    m_text->setEnabled(false);
    m_clipboard = picture("Command6", moveIcon(MoveIcon::Clipboard),
                          QStringLiteral(" Copie la référence de l'article dans le presse-papier "),
                          QRect(4700, 7350, 500, 480));
    m_clipboard->setEnabled(false);
    m_addFromBase = button("Cmd_AjoutSel", QStringLiteral("Ajoute cette référence à un panier"),
                           QRect(5300, 7350, 4180, 480));
    m_addFromBasket =
        button("Cmd_AjoutP", QStringLiteral("Ajoute à un panier"), QRect(5300, 7350, 2400, 480));
    m_remove = button("Cmd_SupprimeSel", QStringLiteral("Supprime cette référence du panier"),
                      QRect(3600, 7900, 4000, 420));
    m_backToList =
        button("Cmd_Grille", QStringLiteral("Retour à la liste"), QRect(120, 7900, 2400, 420));
    auto *number = new QLabel(QStringLiteral("F 02"), this);
    number->setObjectName(QStringLiteral("Label22"));
    setColours(number, QColor(), QColor(0x80, 0x80, 0x80));
    m_twips.insert(number, QRect(9000, 8000, 500, 300));

    m_navigation = new NavigationPanel(this);
    m_navigation->setAutoFillBackground(true);
    m_twips.insert(m_navigation, PanelPlace);
    m_navigation->hide();
    m_addPanel = new AddPanel(AddPanel::FromBase, this);
    m_addPanelBasket = new AddPanel(AddPanel::FromBasket, this);
    for (AddPanel *panel : {m_addPanel, m_addPanelBasket}) {
        panel->setAutoFillBackground(true);
        m_twips.insert(panel, PanelPlace);
        panel->hide();
        for (int n = 1; n <= 3; ++n)
            m_window.countLabels().add(n, panel->countLabel(n));
        connect(panel, &AddPanel::addRequested, this,
                [this, panel](int basket) { addChosenBasket(panel, basket); });
    }

    connect(m_first, &QToolButton::clicked, this, &RecordCard::moveFirst);
    connect(m_previous, &QToolButton::clicked, this, &RecordCard::movePrevious);
    connect(m_next, &QToolButton::clicked, this, &RecordCard::moveNext);
    connect(m_last, &QToolButton::clicked, this, &RecordCard::moveLast);
    connect(m_navigate, &QPushButton::clicked, this, &RecordCard::showNavigation);
    connect(m_navigation, &NavigationPanel::goRequested, this, &RecordCard::goToRequested);
    connect(m_addFromBase, &QPushButton::clicked, this, &RecordCard::showAddFromBase);
    connect(m_addFromBasket, &QPushButton::clicked, this, &RecordCard::showAddFromBasket);
    connect(m_remove, &QPushButton::clicked, this, &RecordCard::removeShownReference);
    connect(m_backToList, &QPushButton::clicked, this, [this] {
        if (m_returnToList)
            m_returnToList();
    });
    connect(m_text, &QPushButton::clicked, this, [this] {
        if (m_textAction)
            m_textAction();
    });
    connect(m_clipboard, &QToolButton::clicked, this, [this] {
        if (m_clipboardAction)
            m_clipboardAction();
    });
    buildClipboard();
}

void RecordCard::setTextAction(std::function<void()> action)
{
    m_textAction = std::move(action);
    m_text->setEnabled(bool(m_textAction));
}

void RecordCard::setClipboardAction(std::function<void()> action)
{
    m_clipboardAction = std::move(action);
    m_clipboard->setEnabled(bool(m_clipboardAction));
}

void RecordCard::placeAll()
{
    // The design stretches to the card's size; the fonts keep theirs.
    const double sx = double(width()) / DesignWidth;
    const double sy = double(height()) / DesignHeight;
    auto toPixels = [sx, sy](const QRect &t) {
        return QRect(qRound(t.x() * sx), qRound(t.y() * sy), qRound(t.width() * sx),
                     qRound(t.height() * sy));
    };
    for (auto it = m_twips.constBegin(); it != m_twips.constEnd(); ++it)
        it.key()->setGeometry(toPixels(it.value()));
    m_summaryFrame->setGeometry(toPixels(m_summaryLarge ? LargeSummary : SmallSummary));
    // The panels and the subtitle lie over the fields.
    m_summaryFrame->raise();
    m_subtitleFrame->raise();
    m_navigation->raise();
    m_addPanel->raise();
    m_addPanelBasket->raise();
}

void RecordCard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeAll();
}

void RecordCard::setSummaryLarge(bool large)
{
    m_summaryLarge = large;
    placeAll();
}

bool RecordCard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_subtitleLink) {
            toggleSubtitle();
            return true;
        }
        if (watched == m_subtitleFrame) {
            m_subtitleFrame->hide();
            return true;
        }
        if (watched == m_summaryFrame) {
            if (!m_summaryLarge)
                m_subtitleFrame->hide();
            setSummaryLarge(!m_summaryLarge);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RecordCard::toggleSubtitle()
{
    if (m_subtitleFrame->isVisible()) {
        m_subtitleFrame->hide();
        return;
    }
    setSummaryLarge(false);
    m_subtitleFrame->show();
    m_subtitleFrame->raise();
}

void RecordCard::applyMode(int mode, int basket)
{
    const bool base = mode == CardState::BaseMode;
    const QColor background = base ? BaseBackground : BasketBackground;
    const QColor text = base ? BaseText : BasketText;
    setColours(this, background, QColor());
    setColours(m_rankLine, QColor(), text);
    setColours(m_modeLabel, background, text);
    m_modeLabel->setText(base ? QStringLiteral("BASE ENTIÈRE")
                              : QStringLiteral("PANIER N° ") + QString::number(basket));
    m_rangCaption->setVisible(!base);
    m_rang->setVisible(!base);
    m_addFromBase->setVisible(base);
    m_addFromBasket->setVisible(!base);
    m_remove->setVisible(!base);
    if (base)
        m_backToList->hide();
}

void RecordCard::OpenCard(int mode, int basket, int count, int position)
{
    RunState &state = m_context.state;
    CardBrowser &browser = m_context.card;
    if (mode == CardState::BaseMode) {
        browser.openBase(position);
        applyMode(mode, 0);
        UpdateRankLine(mode, position, state.baseCount);
        refresh();
        m_window.show(Screen::Card);
        return;
    }
    // The basket's set, unless the card holds it already.
    if (browser.basket() != basket)
        browser.openBasket(basket);
    state.card.mode = mode;
    applyMode(mode, basket);
    state.card.count = count;
    if (count != 0) {
        state.card.position = position;
        UpdateRankLine(mode, position, count);
        m_backToList->show();
        browser.standOn(position);
    } else {
        ShowEmptyBasketCard(basket);
        m_backToList->hide();
    }
    refresh();
}

void RecordCard::UpdateRankLine(int mode, int position, int count)
{
    if (mode == CardState::BaseMode) {
        m_context.state.basePosition = position;
        m_navigate->setVisible(count != 1);
    } else if (mode == CardState::BasketMode) {
        m_navigate->hide();
    }
    m_rankLine->setText(rankLineText(mode, position, count));
    const MoveButtons buttons = moveButtonsFor(position, count);
    m_first->setEnabled(buttons.first);
    m_previous->setEnabled(buttons.previous);
    m_next->setEnabled(buttons.next);
    m_last->setEnabled(buttons.last);
}

void RecordCard::ShowEmptyBasketCard(int basket)
{
    UpdateRankLine(CardState::BasketMode, 0, 0);
    m_modeLabel->setText(basket == 0 ? QString()
                                     : QStringLiteral("PANIER N° ") + QString::number(basket));
    m_remove->hide();
    m_window.publishCounts();
}

void RecordCard::refresh()
{
    const QHash<QString, QString> values = m_context.card.currentValues();
    auto field = [&values](const QString &name) { return values.value(name); };
    for (auto it = m_fields.constBegin(); it != m_fields.constEnd(); ++it)
        it.value()->setText(shown(field(it.key())));
    showText(m_title, shown(field(QStringLiteral("Titre"))));
    const QString subtitle = field(QStringLiteral("Soustitre"));
    showText(m_subtitle, shown(subtitle));
    m_subtitleLink->setVisible(!subtitle.trimmed().isEmpty());
    showText(m_summary, shown(field(QStringLiteral("Resume"))));
    m_rang->setText(field(QStringLiteral("Rang")));
    const QString fullText = field(QStringLiteral("TexteIntegral"));
    m_fullText->setText(fullText);
    m_text->setVisible(!fullText.trimmed().isEmpty());
    m_disc->setText(field(QStringLiteral("Localisation")));
}

void RecordCard::afterMove()
{
    CardState &card = m_context.state.card;
    UpdateRankLine(card.mode, card.position, card.count);
    refresh();
}

void RecordCard::moveFirst()
{
    m_subtitleFrame->hide();
    if (m_context.card.moveFirst())
        afterMove();
}

void RecordCard::movePrevious()
{
    m_subtitleFrame->hide();
    if (m_context.card.movePrevious())
        afterMove();
}

void RecordCard::moveNext()
{
    m_subtitleFrame->hide();
    if (m_context.card.moveNext())
        afterMove();
}

void RecordCard::moveLast()
{
    m_subtitleFrame->hide();
    if (m_context.card.moveLast())
        afterMove();
}

void RecordCard::showNavigation()
{
    m_subtitleFrame->hide();
    m_addPanel->hide();
    m_addPanelBasket->hide();
    m_navigation->show();
    m_navigation->raise();
}

void RecordCard::showAddFromBase()
{
    m_addPanelBasket->hide();
    m_navigation->hide();
    m_addPanel->show();
    m_addPanel->raise();
}

void RecordCard::showAddFromBasket()
{
    m_addPanelBasket->excludeBasket(m_context.state.currentBasket);
    m_navigation->hide();
    m_addPanel->hide();
    m_addPanelBasket->show();
    m_addPanelBasket->raise();
}

void RecordCard::addChosenBasket(AddPanel *panel, int basket)
{
    m_operations->AddToBasket(basket);
    panel->hide();
}

void RecordCard::removeShownReference()
{
    m_operations->RemoveFromBasket();
    refresh();
}

void RecordCard::goToRequested()
{
    if (!m_context.card.isOpen())
        return;
    const GoToResult result = m_context.card.runGoTo(
        m_navigation->request(), m_context.platform.messageBox, m_context.platform.busyPointer);
    m_navigation->apply(result);
    if (result.moved || result.closePanel)
        afterMove();
}

void RecordCard::setStartupTexts()
{
    m_text->setText(QStringLiteral("Texte"));
    const CardState &card = m_context.state.card;
    UpdateRankLine(card.mode, card.position, card.count);
}

void RecordCard::rankLineChanged(int mode, int position, int count)
{
    UpdateRankLine(mode, position, count);
}

void RecordCard::basketShownEmpty(int basket)
{
    ShowEmptyBasketCard(basket);
}

void RecordCard::publishCounts()
{
    m_window.publishCounts();
}

void RecordCard::bringIntroToFront()
{
    m_window.show(Screen::Intro);
}

} // namespace ferlin
