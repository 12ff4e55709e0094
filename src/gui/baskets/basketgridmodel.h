#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>

#include <array>
#include <memory>

namespace ferlin {

class RowReader;

// The lines of the basket grid: year, month code, bulletin number and title, one line per
// reference of the set, in the set's order. Empty, it holds one empty line under its header.
// A line is read from the base when the grid first shows it (a basket of the whole base lists
// at once), and kept while it is among the lines recently shown.
class BasketGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;
    using Line = std::array<QString, ColumnCount>;

    explicit BasketGridModel(QObject *parent = nullptr);
    ~BasketGridModel() override;

    // The header and one empty line.
    void reset();
    // The fields a line is made of: An, Mois, Numéro, Titre.
    static const QStringList &fields();
    // One line per row of the reader, which reads fields() of each in the set's order.
    // Returns the number of lines.
    int fill(std::unique_ptr<RowReader> rows);
    // The four cells of a reference as the grid shows them.
    static Line lineFor(const QStringList &values);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const Line &line(int row) const;

    std::unique_ptr<RowReader> m_rows; // none: the one empty line
    mutable QCache<int, Line> m_shown;
};

} // namespace ferlin
