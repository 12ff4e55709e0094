#include "baskets/basketgridmodel.h"

#include "db/fieldpresentation.h"
#include "db/recordset.h"

namespace ferlin {

namespace {

const std::array<QString, BasketGridModel::ColumnCount> &headers()
{
    static const std::array<QString, BasketGridModel::ColumnCount> texts = {
        QStringLiteral("Année"), QStringLiteral("Mois"), QStringLiteral("Numéro"),
        QStringLiteral("Titre de l'article")};
    return texts;
}

} // namespace

BasketGridModel::BasketGridModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_lines.resize(1);
}

void BasketGridModel::reset()
{
    beginResetModel();
    m_lines.assign(1, Line{});
    endResetModel();
}

const QStringList &BasketGridModel::fields()
{
    static const QStringList names = {QStringLiteral("An"), QStringLiteral("Mois"),
                                      QStringLiteral("Numéro"), QStringLiteral("Titre")};
    return names;
}

BasketGridModel::Line BasketGridModel::lineFor(const QStringList &values)
{
    // A cell shows one line of the title: a damaged title of a megabyte is cut far beyond what
    // the column can show, so that drawing the grid stays immediate.
    constexpr int LongestShownTitle = 2000;
    return {values.at(0), BasketMonthCode(values.at(1).trimmed()), values.at(2).trimmed(),
            values.at(3).left(LongestShownTitle)};
}

int BasketGridModel::fill(const std::vector<QStringList> &rows)
{
    std::vector<Line> lines;
    lines.reserve(rows.size());
    for (const QStringList &row : rows)
        lines.push_back(lineFor(row));
    if (lines.empty())
        return 0;
    // The empty line of the reset goes: line r is record r of the set.
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
    return int(m_lines.size());
}

int BasketGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int BasketGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BasketGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_lines[size_t(index.row())][size_t(index.column())];
}

QVariant BasketGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount)
        return headers()[size_t(section)];
    return {};
}

} // namespace ferlin
