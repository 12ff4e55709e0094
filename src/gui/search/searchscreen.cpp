#include "gui/search/searchscreen.h"

#include "core/context/appcontext.h"
#include "core/search/runsearch.h"
#include "gui/search/authorpicker.h"
#include "gui/search/keywordpicker.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/captioncolours.h"
#include "gui/shell/countlabels.h"
#include "gui/shell/optiongroup.h"
#include "gui/shell/rowchoice.h"
#include "gui/shell/screenhost.h"
#include "gui/shell/searchviews.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

namespace ferlin {

namespace {

template <typename T> T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// A caption that acts when clicked: a stop of the Tab order, pressed with Space or Enter like a
// button (the screen's event filter does both), drawn with the focus around it.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect();
        option.backgroundColor = palette().color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};

QLabel *clickableLabel(const QString &name, QWidget *parent, QObject *filter)
{
    auto *label = named(new ClickableLabel(QString(), parent), name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(160);
    label->installEventFilter(filter);
    return label;
}

QString withoutLeadingBlanks(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

// A pick list whose entries are found by typing their first letters, as in any list, but with
// their leading blanks left out: " lycée " is found by typing "ly". The entries keep their texts.
class PickList : public QListWidget {
public:
    using QListWidget::QListWidget;

    void keyboardSearch(const QString &search) override
    {
        // Keys typed within the keyboard interval make one text; the same key again goes on to
        // the next entry that begins with it.
        const bool fresh = search.isEmpty() || !m_lastKey.isValid() ||
                           m_lastKey.elapsed() > QApplication::keyboardInputInterval();
        m_lastKey.start();
        m_typed = fresh ? search : m_typed + search;
        const QString typed = withoutLeadingBlanks(m_typed);
        if (typed.isEmpty() || count() == 0)
            return;
        const bool sameKey = typed.size() > 1 && typed.count(typed.back()) == typed.size();
        const QString wanted = sameKey ? typed.right(1) : typed;
        int start = std::max(currentRow(), 0);
        if ((fresh || sameKey) && currentRow() >= 0)
            start = (start + 1) % count();
        for (int i = 0; i < count(); ++i) {
            QListWidgetItem *entry = item((start + i) % count());
            if (entry->isHidden() || !(entry->flags() & Qt::ItemIsEnabled))
                continue;
            if (withoutLeadingBlanks(entry->text()).startsWith(wanted, Qt::CaseInsensitive)) {
                setCurrentItem(entry);
                return;
            }
        }
    }

private:
    QElapsedTimer m_lastKey;
    QString m_typed;
};

QListWidget *pickList(const QString &name, QWidget *parent, const QStringList &items)
{
    auto *list = named(new PickList(parent), name);
    list->addItems(items);
    list->setMaximumHeight(110);
    return list;
}

// Tab enters an option group at its selected option, the arrows move within it. Qt moves that
// stop only when an option takes the focus: an option selected otherwise (the source disabling
// the destination that had the stop) would leave the group out of the Tab order.
void tabStopOnSelected(QButtonGroup *group)
{
    auto follow = [group] {
        for (QAbstractButton *option : group->buttons())
            option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
    follow();
}

bool isKeyboardPress(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return !key->isAutoRepeat() && modifiers == Qt::NoModifier &&
           (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
            key->key() == Qt::Key_Enter);
}

bool isLeftClick(QEvent *event)
{
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
}

bool isEscape(QEvent *event)
{
    return event->type() == QEvent::KeyPress &&
           static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
           static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier;
}

QFrame *line(const QString &name, QWidget *parent)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::HLine);
    return frame;
}

} // namespace

SearchScreen::SearchScreen(ScreenHost &window) : m_window(window), m_context(window.context())
{
    setObjectName(QStringLiteral("Selecfr"));
    setWindowTitle(QStringLiteral("Sélection de références"));
    m_runner = std::make_unique<SearchRunner>(m_context, SearchViewsOf(window));
    build();
    publishCriteria();
    nameControlsForAccessibility(this);
}

SearchScreen::~SearchScreen() = default;

QCheckBox *SearchScreen::addCriterion(const char *name, const QString &caption,
                                      QList<QWidget *> inputs)
{
    auto *box = named(new QCheckBox(caption, this), QString::fromUtf8(name));
    paintCaption(box, CaptionOff);
    m_inputs.insert(box, inputs);
    m_criteria << box;
    for (QWidget *input : inputs)
        input->hide();
    connect(box, &QCheckBox::clicked, this, [this, box] { criterionToggled(box); });
    return box;
}

void SearchScreen::build()
{
    const RunState &state = m_context.state;
    auto *grid = new QGridLayout;
    int row = 0;

    // Keywords: the copy of the picker's choice.
    const char *keywordNames[] = {"Lab_cle1", "Lab_cle_et", "Lab_cle_ou", "Lab_cle_sauf"};
    for (int i = 0; i < 4; ++i) {
        m_keywordLabels[size_t(i)] = clickableLabel(QString::fromUtf8(keywordNames[i]), this, this);
        m_keywordLabels[size_t(i)]->setWordWrap(true);
        // Three columns of keywords must leave room for the source and destination column
        // in a frame 1024 pixels wide: the words wrap instead.
        m_keywordLabels[size_t(i)]->setMinimumWidth(90);
        m_keywordLabels[size_t(i)]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    auto *andHeading = named(new QLabel(QStringLiteral("ET"), this), QStringLiteral("Lab_Tcle_et"));
    auto *orHeading = named(new QLabel(QStringLiteral("OU"), this), QStringLiteral("Lab_Tcle_ou"));
    auto *butHeading =
        named(new QLabel(QStringLiteral("SAUF"), this), QStringLiteral("Lab_Tcle_sauf"));
    QFrame *line9 = line(QStringLiteral("Line9"), this);
    QFrame *line10 = line(QStringLiteral("Line10"), this);
    m_keywordShape = named(new QFrame(this), QStringLiteral("Shape2"));
    m_keywordShape->setFrameShape(QFrame::Box);
    m_keywordShape->setMinimumHeight(40);
    m_keywords =
        addCriterion("Check_cles", QStringLiteral("Mots clés"),
                     {m_keywordLabels[0], m_keywordLabels[1], andHeading, m_keywordLabels[2],
                      orHeading, m_keywordLabels[3], butHeading, line9, line10});
    auto *keywordArea = new QGridLayout;
    keywordArea->addWidget(m_keywordLabels[0], 0, 0, 1, 3);
    keywordArea->addWidget(line9, 1, 0, 1, 3);
    keywordArea->addWidget(andHeading, 2, 0);
    keywordArea->addWidget(orHeading, 2, 1);
    keywordArea->addWidget(butHeading, 2, 2);
    keywordArea->addWidget(m_keywordLabels[1], 3, 0);
    keywordArea->addWidget(m_keywordLabels[2], 3, 1);
    keywordArea->addWidget(m_keywordLabels[3], 3, 2);
    keywordArea->addWidget(line10, 4, 0, 1, 3);
    keywordArea->addWidget(m_keywordShape, 0, 0, 5, 3);
    grid->addWidget(m_keywords, row, 0, Qt::AlignTop);
    grid->addLayout(keywordArea, row++, 1, 1, 3);

    m_yearFrom = named(new QLineEdit(this), QStringLiteral("T_an1"));
    m_yearTo = named(new QLineEdit(this), QStringLiteral("T_an2"));
    auto *below = named(new QLabel(QStringLiteral("<"), this), QStringLiteral("Lab_inf"));
    auto *above = named(new QLabel(QStringLiteral(">"), this), QStringLiteral("Lab_sup"));
    m_years =
        addCriterion("Check_An", QStringLiteral("Années"), {m_yearFrom, m_yearTo, below, above});
    auto *years = new QHBoxLayout;
    years->addWidget(above);
    years->addWidget(m_yearFrom);
    years->addWidget(below);
    years->addWidget(m_yearTo);
    years->addStretch();
    grid->addWidget(m_years, row, 0);
    grid->addLayout(years, row++, 1, 1, 3);

    m_bulletinNumber = named(new QLineEdit(this), QStringLiteral("T_numéro"));
    m_bulletin =
        addCriterion("Check_numéro", QStringLiteral("Numéro de bulletin"), {m_bulletinNumber});
    grid->addWidget(m_bulletin, row, 0);
    grid->addWidget(m_bulletinNumber, row++, 1);

    m_levelLabel = clickableLabel(QStringLiteral("Lab_niveau"), this, this);
    m_levelList = pickList(QStringLiteral("L_niveau"), this,
                           {QStringLiteral(" primaire "), QStringLiteral(" collège "),
                            QStringLiteral(" lycée "), QStringLiteral(" postbac ")});
    m_level = addCriterion("Check_niveau", QStringLiteral("Niveau de l'article"),
                           {m_levelLabel, m_levelList});
    grid->addWidget(m_level, row, 0, Qt::AlignTop);
    grid->addWidget(m_levelLabel, row, 1, Qt::AlignTop);
    grid->addWidget(m_levelList, row++, 2);

    m_authorLabel = clickableLabel(QStringLiteral("Lab_auteur"), this, this);
    m_author = addCriterion("Check_auteur", QStringLiteral("Nom d'auteur"), {m_authorLabel});
    grid->addWidget(m_author, row, 0);
    grid->addWidget(m_authorLabel, row++, 1);

    m_pointOfViewLabel = clickableLabel(QStringLiteral("Lab_PointdeVue"), this, this);
    m_pointOfViewList = pickList(QStringLiteral("L_PointdeVue"), this, state.pointOfViewList);
    m_pointOfView = addCriterion("Check_PointdeVue", QStringLiteral("Point de vue"),
                                 {m_pointOfViewLabel, m_pointOfViewList});
    grid->addWidget(m_pointOfView, row, 0, Qt::AlignTop);
    grid->addWidget(m_pointOfViewLabel, row, 1, Qt::AlignTop);
    grid->addWidget(m_pointOfViewList, row++, 2);

    m_domainLabel = clickableLabel(QStringLiteral("Lab_domaine"), this, this);
    m_domainList = pickList(QStringLiteral("L_domaine"), this, state.domainList);
    m_domain =
        addCriterion("Check_domaine", QStringLiteral("Domaine"), {m_domainLabel, m_domainList});
    grid->addWidget(m_domain, row, 0, Qt::AlignTop);
    grid->addWidget(m_domainLabel, row, 1, Qt::AlignTop);
    grid->addWidget(m_domainList, row++, 2);

    m_referenceText = named(new QLineEdit(this), QStringLiteral("T_Rang"));
    m_reference =
        addCriterion("Check_Rang", QStringLiteral("Numéro de référence"), {m_referenceText});
    grid->addWidget(m_reference, row, 0);
    grid->addWidget(m_referenceText, row++, 1);

    m_freeTextValue = named(new QLineEdit(this), QStringLiteral("T_libre"));
    m_wordMode = named(new QRadioButton(QStringLiteral("mot"), this), QStringLiteral("OptionMot"));
    m_stringMode =
        named(new QRadioButton(QStringLiteral("chaîne"), this), QStringLiteral("OptionChaine"));
    m_stringMode->setChecked(true);
    tabStopOnSelected(exclusiveGroup(this, {m_wordMode, m_stringMode}));
    auto *searchedIn =
        named(new QLabel(QStringLiteral("Recherché dans"), this), QStringLiteral("Lab_Rech"));
    QFrame *line14 = line(QStringLiteral("Line14"), this);
    m_inTitle = named(new QCheckBox(QStringLiteral("Titre"), this), QStringLiteral("Check_titre"));
    m_inSummary =
        named(new QCheckBox(QStringLiteral("Résumé"), this), QStringLiteral("Check_Resume"));
    m_inKeywords =
        named(new QCheckBox(QStringLiteral("Mots clés"), this), QStringLiteral("Check_MotsCles"));
    m_inTitle->setChecked(true);
    m_inSummary->setChecked(true);
    m_freeText = addCriterion("Check_libre",
                              QStringLiteral("Mot ou chaîne libre dans titre/ résumé/ mots clé"),
                              {m_freeTextValue, m_wordMode, m_stringMode, line14, searchedIn,
                               m_inTitle, m_inSummary, m_inKeywords});
    auto *freeText = new QGridLayout;
    freeText->addWidget(m_freeTextValue, 0, 0, 1, 2);
    freeText->addWidget(m_wordMode, 0, 2);
    freeText->addWidget(m_stringMode, 0, 3);
    freeText->addWidget(searchedIn, 1, 0);
    freeText->addWidget(line14, 2, 0, 1, 4);
    freeText->addWidget(m_inTitle, 3, 0);
    freeText->addWidget(m_inSummary, 3, 1);
    freeText->addWidget(m_inKeywords, 3, 2);
    grid->addWidget(m_freeText, row, 0, Qt::AlignTop);
    grid->addLayout(freeText, row++, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    // Heading, source, destination, placement and counts.
    const QString headings[] = {QStringLiteral("RECHERCHES  de RÉFÉRENCES d'ARTICLES"),
                                QStringLiteral("CHOIX de la SOURCE :"), QStringLiteral("BASE")};
    // The source shown is the keyboard's way to the source list; the two headings before it
    // are only clicked.
    for (int i = 0; i < 3; ++i) {
        QLabel *heading =
            i == 2 ? new ClickableLabel(headings[i], this) : new QLabel(headings[i], this);
        m_headings[size_t(i)] = named(heading, QStringLiteral("Label1_") + QString::number(i));
        heading->setCursor(Qt::PointingHandCursor);
        heading->installEventFilter(this);
    }
    QFont big = m_headings[0]->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    m_headings[0]->setFont(big);
    m_headings[2]->setToolTip(
        QStringLiteral(" Cliquer pour choisir la base source pour la sélection "));
    paintCaption(m_headings[2], CaptionOn);
    m_sourceList = pickList(QStringLiteral("L_Source"), this,
                            {QStringLiteral("BASE"), QStringLiteral("PANIER 1"),
                             QStringLiteral("PANIER 2"), QStringLiteral("PANIER 3")});
    m_sourceList->hide();

    auto *side = new QVBoxLayout;
    auto *source = new QHBoxLayout;
    source->addWidget(m_headings[1]);
    source->addWidget(m_headings[2]);
    source->addStretch();
    side->addLayout(source);
    side->addWidget(m_sourceList);
    auto *destination = new QGroupBox(QStringLiteral("Panier de destination"), this);
    destination->setObjectName(QStringLiteral("Frame_Destination"));
    auto *destinationLayout = new QVBoxLayout(destination);
    for (int i = 0; i < 3; ++i) {
        auto *option =
            named(new QRadioButton(QStringLiteral("Panier ") + QString::number(i + 1), destination),
                  QStringLiteral("NuméroPanier_") + QString::number(i));
        paintCaption(option, i == 0 ? CaptionOn : CaptionOff);
        destinationLayout->addWidget(option);
        m_destinations[size_t(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { chooseDestination(i); });
    }
    m_destinations[0]->setChecked(true);
    tabStopOnSelected(exclusiveGroup(this, m_destinations));
    auto *placement = new QGroupBox(QStringLiteral("Placement"), this);
    placement->setObjectName(QStringLiteral("Frame_Placement"));
    auto *placementLayout = new QVBoxLayout(placement);
    const QString placements[] = {QStringLiteral("Ajoute au contenu"),
                                  QStringLiteral("Remplace le contenu")};
    for (int i = 0; i < 2; ++i) {
        auto *option = named(new QRadioButton(placements[i], placement),
                             QStringLiteral("Option_panier_") + QString::number(i));
        paintCaption(option, i == 0 ? CaptionOn : CaptionOff);
        placementLayout->addWidget(option);
        m_placements[size_t(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { choosePlacement(i); });
    }
    m_placements[0]->setChecked(true);
    tabStopOnSelected(exclusiveGroup(this, m_placements));
    side->addWidget(destination);
    side->addWidget(placement);

    auto *run =
        named(new QPushButton(QStringLiteral("Recherche"), this), QStringLiteral("Cmd_selection"));
    auto *cancel =
        named(new QPushButton(QStringLiteral("Annule tout"), this), QStringLiteral("Command1"));
    connect(run, &QPushButton::clicked, this, &SearchScreen::startSearch);
    connect(cancel, &QPushButton::clicked, this, &SearchScreen::cancelAll);
    side->addWidget(run);
    side->addWidget(cancel);

    auto *counts = new QGroupBox(QStringLiteral("  Contenu des paniers "), this);
    counts->setObjectName(QStringLiteral("Frame3"));
    counts->setToolTip(
        QStringLiteral(" Nombre de références actuellement contenues dans les paniers "));
    auto *countsLayout = new QGridLayout(counts);
    for (int i = 0; i < 3; ++i) {
        auto *caption = named(new QLabel(QStringLiteral("Panier %1 : ").arg(i + 1), counts),
                              QStringLiteral("Label") + QString::number(i + 2));
        auto *count = named(new QLabel(counts), QStringLiteral("Lab_NbRefP%1").arg(i + 1));
        countsLayout->addWidget(caption, i, 0);
        countsLayout->addWidget(count, i, 1);
        m_counts[size_t(i)] = count;
        m_window.countLabels().add(i + 1, count);
    }
    side->addWidget(counts);
    side->addStretch();

    auto *body = new QHBoxLayout;
    body->addLayout(grid, 3);
    body->addLayout(side, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_headings[0], 0, Qt::AlignHCenter);
    layout->addLayout(body);
    layout->addStretch();

    auto pickInto = [this](QListWidget *list, QLabel *label) {
        list->installEventFilter(this);
        onRowChosen(list, [this, list, label](int chosen) {
            label->setText(list->item(chosen)->text());
            closePickList(list, label);
            publishCriteria();
        });
    };
    pickInto(m_levelList, m_levelLabel);
    pickInto(m_pointOfViewList, m_pointOfViewLabel);
    pickInto(m_domainList, m_domainLabel);
    m_sourceList->installEventFilter(this);
    onRowChosen(m_sourceList, [this](int chosen) {
        setSource(m_sourceList->item(chosen)->text());
        closePickList(m_sourceList, m_headings[2]);
        publishCriteria();
    });
    setReadingOrder({m_keywords,
                     m_keywordLabels[0],
                     m_keywordLabels[1],
                     m_keywordLabels[2],
                     m_keywordLabels[3],
                     m_years,
                     m_yearFrom,
                     m_yearTo,
                     m_bulletin,
                     m_bulletinNumber,
                     m_level,
                     m_levelLabel,
                     m_levelList,
                     m_author,
                     m_authorLabel,
                     m_pointOfView,
                     m_pointOfViewLabel,
                     m_pointOfViewList,
                     m_domain,
                     m_domainLabel,
                     m_domainList,
                     m_reference,
                     m_referenceText,
                     m_freeText,
                     m_freeTextValue,
                     m_wordMode,
                     m_stringMode,
                     m_inTitle,
                     m_inSummary,
                     m_inKeywords,
                     m_headings[2],
                     m_sourceList,
                     m_destinations[0],
                     m_destinations[1],
                     m_destinations[2],
                     m_placements[0],
                     m_placements[1],
                     run,
                     cancel});
    // Every other change of a criterion: what the prints and archives echo stays current.
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textChanged, this, &SearchScreen::publishCriteria);
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        connect(button, &QAbstractButton::toggled, this, &SearchScreen::publishCriteria);
    m_window.publishCounts();
}

void SearchScreen::criterionToggled(QCheckBox *box)
{
    const bool on = box->isChecked();
    paintCaption(box, on ? CaptionOn : CaptionOff);
    for (QWidget *input : m_inputs.value(box))
        input->setVisible(on);
    if (box == m_keywords)
        m_keywordShape->setVisible(!on);
    if (box == m_author) {
        if (on)
            authorPicker()->openModal();
        else if (m_authorPicker)
            m_authorPicker->hide();
    }
}

bool SearchScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (isEscape(event)) {
        // Escape leaves an open list without choosing, as a click on its caption does.
        QLabel *caption = captionOfList(watched);
        if (!caption)
            return QWidget::eventFilter(watched, event);
        closePickList(static_cast<QListWidget *>(watched), caption);
        return true;
    }
    if (!isLeftClick(event) && !isKeyboardPress(event))
        return QWidget::eventFilter(watched, event);
    if (watched == m_levelLabel)
        togglePickList(m_levelList, m_levelLabel);
    else if (watched == m_pointOfViewLabel)
        togglePickList(m_pointOfViewList, m_pointOfViewLabel);
    else if (watched == m_domainLabel)
        togglePickList(m_domainList, m_domainLabel);
    else if (watched == m_authorLabel)
        toggleAuthorPicker();
    else if (std::find(m_keywordLabels.begin(), m_keywordLabels.end(), watched) !=
             m_keywordLabels.end())
        openKeywordPicker();
    else if (std::find(m_headings.begin(), m_headings.end(), watched) != m_headings.end())
        togglePickList(m_sourceList, m_headings[2]);
    else
        return QWidget::eventFilter(watched, event);
    return true;
}

QLabel *SearchScreen::captionOfList(QObject *list) const
{
    if (list == m_levelList)
        return m_levelLabel;
    if (list == m_pointOfViewList)
        return m_pointOfViewLabel;
    if (list == m_domainList)
        return m_domainLabel;
    if (list == m_sourceList)
        return m_headings[2];
    return nullptr;
}

void SearchScreen::togglePickList(QListWidget *list, QLabel *caption)
{
    if (!list->isHidden()) {
        closePickList(list, caption);
        return;
    }
    list->show();
    // The list opens on the entry its caption shows, with the focus, ready for the arrows.
    const auto shown = list->findItems(caption->text(), Qt::MatchExactly);
    list->setCurrentRow(shown.isEmpty() ? 0 : list->row(shown.front()));
    list->setFocus(Qt::OtherFocusReason);
}

void SearchScreen::closePickList(QListWidget *list, QLabel *caption)
{
    // The focus goes back to the caption that opens the list again, not on to the next control.
    if (list->hasFocus())
        caption->setFocus(Qt::OtherFocusReason);
    list->hide();
}

void SearchScreen::setReadingOrder(std::initializer_list<QWidget *> controls)
{
    QWidget *previous = nullptr;
    for (QWidget *control : controls) {
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

void SearchScreen::setSource(const QString &source)
{
    m_headings[2]->setText(source);
    // A basket is never both source and destination: the destination goes back to the first
    // basket allowed.
    for (QRadioButton *option : m_destinations) {
        option->setEnabled(true);
        paintCaption(option, CaptionOff);
    }
    int selected = 0;
    if (source == QStringLiteral("PANIER 1")) {
        m_destinations[0]->setEnabled(false);
        selected = 1;
    } else if (source == QStringLiteral("PANIER 2")) {
        m_destinations[1]->setEnabled(false);
    } else if (source == QStringLiteral("PANIER 3")) {
        m_destinations[2]->setEnabled(false);
    }
    m_destinations[size_t(selected)]->setChecked(true);
    paintCaption(m_destinations[size_t(selected)], CaptionOn);
}

void SearchScreen::chooseDestination(int index)
{
    for (QRadioButton *option : m_destinations)
        paintCaption(option, CaptionOff);
    paintCaption(m_destinations[size_t(index)], CaptionOn);
}

void SearchScreen::choosePlacement(int index)
{
    for (QRadioButton *option : m_placements)
        paintCaption(option, CaptionOff);
    paintCaption(m_placements[size_t(index)], CaptionOn);
}

KeywordPicker *SearchScreen::keywordPicker()
{
    auto *picker = m_keywordPicker.data();
    if (!picker) {
        picker = new KeywordPicker(m_window, m_window.dialogParent());
        m_keywordPicker = picker;
        connect(picker, &KeywordPicker::choiceCopied, this,
                [this](const QString &first, const QString &et, const QString &ou,
                       const QString &sauf) {
                    m_keywordLabels[0]->setText(first);
                    m_keywordLabels[1]->setText(et);
                    m_keywordLabels[2]->setText(ou);
                    m_keywordLabels[3]->setText(sauf);
                    publishCriteria();
                });
    }
    return picker;
}

AuthorPicker *SearchScreen::authorPicker()
{
    auto *picker = m_authorPicker.data();
    if (!picker) {
        picker = new AuthorPicker(m_window, m_window.dialogParent());
        m_authorPicker = picker;
        connect(picker, &AuthorPicker::authorChosen, this, [this](const QString &author) {
            m_authorLabel->setText(author);
            publishCriteria();
        });
    }
    return picker;
}

void SearchScreen::openKeywordPicker()
{
    keywordPicker()->exec();
}

void SearchScreen::toggleAuthorPicker()
{
    authorPicker()->toggleShown();
}

QString SearchScreen::keywordCaption(const char *labelName) const
{
    for (QLabel *label : m_keywordLabels) {
        if (label->objectName() == QString::fromUtf8(labelName))
            return label->text();
    }
    return {};
}

SelectionCriteria SearchScreen::criteria() const
{
    SelectionCriteria c;
    c.keywords = m_keywords->isChecked();
    c.years = m_years->isChecked();
    c.yearFrom = m_yearFrom->text();
    c.yearTo = m_yearTo->text();
    c.bulletin = m_bulletin->isChecked();
    c.bulletinNumber = m_bulletinNumber->text();
    c.level = m_level->isChecked();
    c.levelText = m_levelLabel->text();
    c.author = m_author->isChecked();
    c.authorText = m_authorLabel->text();
    c.pointOfView = m_pointOfView->isChecked();
    c.pointOfViewText = m_pointOfViewLabel->text();
    c.domain = m_domain->isChecked();
    c.domainText = m_domainLabel->text();
    c.reference = m_reference->isChecked();
    c.referenceText = m_referenceText->text();
    c.freeText = m_freeText->isChecked();
    c.freeTextValue = m_freeTextValue->text();
    c.wordMode = m_wordMode->isChecked();
    c.inTitle = m_inTitle->isChecked();
    c.inSummary = m_inSummary->isChecked();
    c.inKeywords = m_inKeywords->isChecked();
    c.source = m_headings[2]->text();
    for (int i = 0; i < 3; ++i) {
        if (m_destinations[size_t(i)]->isChecked())
            c.destination = i + 1;
    }
    c.replace = m_placements[1]->isChecked();
    return c;
}

void SearchScreen::publishCriteria()
{
    RunState &state = m_context.state;
    state.searchCriteria = criteria();
    state.keywordCaptions = {m_keywordLabels[0]->text(), m_keywordLabels[1]->text(),
                             m_keywordLabels[2]->text(), m_keywordLabels[3]->text()};
}

void SearchScreen::hideEvent(QHideEvent *event)
{
    m_runner->interrupt();
    QWidget::hideEvent(event);
}

void SearchScreen::startSearch()
{
    m_runner->RunSearch(criteria(), m_context.state.keywords);
}

void SearchScreen::cancelAll()
{
    closePickList(m_sourceList, m_headings[2]);
    for (QCheckBox *box : std::as_const(m_criteria)) {
        box->setChecked(false);
        criterionToggled(box);
    }
    if (m_authorPicker)
        m_authorPicker->hide();
}

void SearchScreen::lookupListLoaded(LookupList list, const QStringList &values)
{
    QListWidget *target = list == LookupList::PointsOfView ? m_pointOfViewList
                          : list == LookupList::Domains    ? m_domainList
                                                           : nullptr;
    if (target) {
        target->clear();
        target->addItems(values);
    }
}

void SearchScreen::basketCounted(int basket, int count)
{
    m_counts[size_t(basket - 1)]->setText(QString::number(count));
}

} // namespace ferlin
