#include "gui/info/statescreen.h"

#include "core/context/appcontext.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/screenhost.h"
#include "gui/shell/screennumber.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace ferlin {

namespace {

// The widths of the nine periods' blocks, left to right, in twips.
constexpr int BlockWidths[StateBandBlocks] = {255, 255, 495, 615, 855, 1215, 975, 4155, 300};
constexpr int RowHeight = 900;
constexpr int FirstRowTop = 2000;
constexpr int RowStep = 1100;
constexpr int YearsTop = FirstRowTop + 2 * RowStep + RowHeight + 100;
constexpr int YearWidth = 600;
constexpr int YearHeight = 300;
// Pixels between two year labels that would touch.
constexpr int YearGap = 6;

// The axis labels and the block boundary each starts at: 0 is the chart's left edge, 9 its
// right edge. The first periods, too short to be named, share the label "1907".
struct YearMark {
    const char *name;
    const char *year;
    int boundary;
};
constexpr YearMark YearMarks[] = {
    {"Label1", "1907", 0}, {"Label3", "1930", 3}, {"Label4", "1950", 4}, {"Label5", "1960", 5},
    {"Label6", "1975", 6}, {"Label7", "1980", 7}, {"Label9", "1999", 8}, {"Label2", "2001", 9},
};

constexpr const char *RowNames[StateScreen::RowCount] = {"Shape1", "Shape2", "Shape3"};

int boundaryTwips(int boundary)
{
    int x = StateScreen::ChartLeft;
    for (int i = 0; i < boundary; ++i)
        x += BlockWidths[i];
    return x;
}

} // namespace

StateBlock::StateBlock(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setLineWidth(1);
}

void StateBlock::setFillColour(const QColor &colour)
{
    m_fill = colour;
    update();
}

void StateBlock::paintEvent(QPaintEvent *event)
{
    if (m_fill.isValid()) {
        QPainter painter(this);
        painter.fillRect(rect(), m_fill);
    }
    QFrame::paintEvent(event);
}

StateScreen::StateScreen(ScreenHost &window)
{
    setObjectName(QStringLiteral("F_état"));
    setWindowTitle(QStringLiteral("Etat de la base"));
    // The design stretches, the fonts do not: below this size the frame scrolls instead.
    setMinimumSize(MinimumWidth, MinimumHeight);
    build();
    // The start-up may have run already: its results are in the run state.
    const RunState &state = window.context().state;
    showBands(state.stateBands);
    if (!state.updateDate.isEmpty())
        showUpdateDate(state.updateDate);
    nameControlsForAccessibility(this);
}

QColor StateScreen::storedColour(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QLabel *StateScreen::addLabel(const char *name, const QString &text, const QRect &twips)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromUtf8(name));
    m_twips.insert(label, twips);
    return label;
}

void StateScreen::build()
{
    QLabel *heading = addLabel("Label18", QStringLiteral("État de la base Tarnex en date du "),
                               QRect(240, 240, 6360, 480));
    heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    heading->setFont(big);
    m_date = addLabel("Lab_DateMAJ", QStringLiteral("jj/mm/aaaa"), QRect(6600, 240, 2400, 480));
    m_date->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_date->setFont(big);

    QLabel *contents = addLabel(
        "Label23",
        QStringLiteral("Tous les articles parus dans le KVT depuis son origine en 1907 (soit 6773 "
                       "articles) sont référencés dans cette base (58 % des articles sont indexés, "
                       "49 % sont disponibles en texte intégral)"),
        QRect(600, 960, 11100, 800));
    contents->setWordWrap(true);
    contents->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const char *rowTitles[RowCount][2] = {{"Label10", "Articles référencés"},
                                          {"Label11", "Articles indexés"},
                                          {"Label17", "Textes intégraux"}};
    for (int row = 0; row < RowCount; ++row) {
        const int top = FirstRowTop + row * RowStep;
        QLabel *title = addLabel(rowTitles[row][0], QString::fromUtf8(rowTitles[row][1]),
                                 QRect(120, top, ChartLeft - 240, RowHeight));
        title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        title->setWordWrap(true);
        for (int i = 0; i < StateBandBlocks; ++i) {
            auto *block = new StateBlock(this);
            block->setObjectName(QString::fromUtf8(RowNames[row]) + u'_' + QString::number(i));
            m_twips.insert(block, QRect(boundaryTwips(i), top, BlockWidths[i], RowHeight));
            m_blocks[size_t(row)][size_t(i)] = block;
        }
    }

    for (const YearMark &mark : YearMarks) {
        QLabel *year =
            addLabel(mark.name, QString::fromLatin1(mark.year),
                     QRect(boundaryTwips(mark.boundary), YearsTop, YearWidth, YearHeight));
        year->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_years.push_back(year);
    }
    QLabel *axis = addLabel("Label21", QStringLiteral("Années"),
                            QRect(ChartLeft, YearsTop + 2 * YearHeight + 60,
                                  boundaryTwips(StateBandBlocks) - ChartLeft, 330));
    axis->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    QLabel *number = addLabel("Label22", QStringLiteral("F 03"), QRect(11300, 6200, 800, 300));
    greyScreenNumber(number);
    placeAll();
}

void StateScreen::showBands(const std::vector<StateBandColours> &rows)
{
    const size_t count = std::min(rows.size(), size_t(StateBandBlocks));
    for (size_t i = 0; i < count; ++i) {
        m_blocks[0][i]->setFillColour(storedColour(rows[i].referenced));
        m_blocks[1][i]->setFillColour(storedColour(rows[i].indexed));
        m_blocks[2][i]->setFillColour(storedColour(rows[i].fullText));
    }
}

void StateScreen::showUpdateDate(const QString &date)
{
    m_date->setText(date);
}

StateBlock *StateScreen::block(int row, int index) const
{
    return m_blocks.at(size_t(row)).at(size_t(index));
}

void StateScreen::stateBandsRead(const std::vector<StateBandColours> &rows)
{
    showBands(rows);
}

void StateScreen::updateDateRead(const QString &date)
{
    showUpdateDate(date);
}

void StateScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeAll();
}

void StateScreen::placeAll()
{
    // The design stretches to the screen's size; the fonts keep theirs. Both edges of a widget
    // are scaled, so that side-by-side blocks stay side by side.
    const double sx = double(width()) / DesignWidth;
    const double sy = double(height()) / DesignHeight;
    auto toPixels = [sx, sy](const QRect &t) {
        const int left = qRound(t.x() * sx);
        const int top = qRound(t.y() * sy);
        return QRect(left, top, qRound((t.x() + t.width()) * sx) - left,
                     qRound((t.y() + t.height()) * sy) - top);
    };
    for (auto it = m_twips.constBegin(); it != m_twips.constEnd(); ++it)
        it.key()->setGeometry(toPixels(it.value()));

    // A year is never cut: its label is as wide as its text, and one that would run into the
    // year before it (the two short last periods on a narrow screen) moves right, on the same
    // line.
    int previousRight = -1;
    for (QLabel *year : m_years) {
        QRect place = year->geometry();
        place.setWidth(std::max(place.width(), year->sizeHint().width()));
        place.setHeight(std::max(place.height(), year->sizeHint().height()));
        if (place.left() <= previousRight + YearGap)
            place.moveLeft(previousRight + YearGap + 1);
        previousRight = place.left() + year->sizeHint().width() - 1;
        year->setGeometry(place);
    }
    // Then none runs out of the screen: from the right, each stays before the next one.
    int limit = width(); // the first column that the label must not reach
    for (auto it = m_years.rbegin(); it != m_years.rend(); ++it) {
        QLabel *year = *it;
        const int textWidth = year->sizeHint().width();
        QRect place = year->geometry();
        if (place.left() + textWidth > limit)
            place.moveLeft(limit - textWidth);
        place.setWidth(std::min(place.width(), limit - place.left()));
        year->setGeometry(place);
        limit = place.left() - YearGap;
    }
}

} // namespace ferlin
