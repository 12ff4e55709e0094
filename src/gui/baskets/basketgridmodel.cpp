#include "gui/baskets/basketgridmodel.h"

#include "core/db/fieldpresentation.h"
#include "core/db/recordset.h"

#include <QDebug>

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

// Lines kept: many screens of lines, so that scrolling back and forth reads nothing again.
constexpr int KeptLines = 2000;

BasketGridModel::BasketGridModel(QObject *parent) : QAbstractTableModel(parent), m_shown(KeptLines)
{
}

BasketGridModel::~BasketGridModel() = default;

void BasketGridModel::reset()
{
    beginResetModel();
    m_rows.reset();
    m_shown.clear();
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

int BasketGridModel::fill(std::unique_ptr<RowReader> rows)
{
    if (!rows || rows->count() == 0)
        return 0;
    // The empty line of the reset goes: line r is record r of the set.
    beginResetModel();
    m_rows = std::move(rows);
    m_shown.clear();
    endResetModel();
    return m_rows->count();
}

const BasketGridModel::Line &BasketGridModel::line(int row) const
{
    static const Line empty;
    if (!m_rows)
        return empty;
    if (const Line *kept = m_shown.object(row))
        return *kept;
    auto *read = new Line;
    try {
        *read = lineFor(m_rows->texts(row));
    } catch (const DbError &error) {
        // Drawing cannot stop for a failed read (a base locked for long): the line shows empty
        // and is read again when next shown.
        qWarning() << "basket list line" << row << error.what();
        delete read;
        return empty;
    }
    m_shown.insert(row, read);
    return *read;
}

int BasketGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : (m_rows ? m_rows->count() : 1);
}

int BasketGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BasketGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return line(index.row())[size_t(index.column())];
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
