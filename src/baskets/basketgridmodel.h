#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <vector>

namespace ferlin {

// The lines of the basket grid: year, month code, bulletin number and title, one line per
// reference of the set, in the set's order. Empty, it holds one empty line under its header.
class BasketGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;
    using Line = std::array<QString, ColumnCount>;

    explicit BasketGridModel(QObject *parent = nullptr);

    // The header and one empty line.
    void reset();
    // The fields a line is made of: An, Mois, Numéro, Titre.
    static const QStringList &fields();
    // One line per reference, given the values of fields() of each in the set's order.
    // Returns the number of lines.
    int fill(const std::vector<QStringList> &rows);
    // The four cells of a reference as the grid shows them.
    static Line lineFor(const QStringList &values);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Line> m_lines;
};

} // namespace ferlin
