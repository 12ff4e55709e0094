#pragma once

#include "gui/shell/startuplistener.h"

#include <QFrame>
#include <QHash>
#include <QRect>

#include <array>
#include <vector>

class QLabel;

namespace ferlin {

class ScreenHost;

// One rectangle of the state chart: a framed block, filled with its colour once it has one.
class StateBlock : public QFrame {
    Q_OBJECT
public:
    explicit StateBlock(QWidget *parent = nullptr);

    // Invalid while the block is unfilled.
    QColor fillColour() const { return m_fill; }
    void setFillColour(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
};

// The database-state screen (form F_état): the base's update date and a chart of what the base
// holds, period by period since 1907. Three rows of nine blocks (referenced articles, indexed
// articles, full texts), one block per period, each block as wide as its period has articles,
// coloured from the rows of TEtatbase read at start-up.
class StateScreen : public QWidget, public StartupListener {
    Q_OBJECT
public:
    // The screen is designed on a canvas of twips, scaled to the screen.
    static constexpr int DesignWidth = 12300;
    static constexpr int DesignHeight = 6600;
    static constexpr int MinimumWidth = 760;
    static constexpr int MinimumHeight = 440;
    static constexpr int ChartLeft = 2400;
    static constexpr int RowCount = 3;

    explicit StateScreen(ScreenHost &window);

    // A colour stored the Windows way: 0x00BBGGRR, red in the low byte.
    static QColor storedColour(quint32 value);

    // Row i of TEtatbase colours block i of each chart row; blocks without a row stay unfilled.
    void showBands(const std::vector<StateBandColours> &rows);
    void showUpdateDate(const QString &date);
    // Block `index` (0 to 8) of chart row `row` (0 referenced, 1 indexed, 2 full texts).
    StateBlock *block(int row, int index) const;

    // StartupListener: the start-up's results, when the screen exists before it has run.
    void stateBandsRead(const std::vector<StateBandColours> &rows) override;
    void updateDateRead(const QString &date) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void build();
    QLabel *addLabel(const char *name, const QString &text, const QRect &twips);
    void placeAll();

    QHash<QWidget *, QRect> m_twips; // design geometry of each placed widget, in twips
    std::array<std::array<StateBlock *, StateBandBlocks>, RowCount> m_blocks{};
    std::vector<QLabel *> m_years; // the axis labels, left to right
    QLabel *m_date = nullptr;
};

} // namespace ferlin
