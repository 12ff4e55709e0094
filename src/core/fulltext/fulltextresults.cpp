#include "core/fulltext/fulltextresults.h"

#include <QSet>
#include <QStringList>

#include <sqlite3.h>

namespace ferlin {

QHash<int, ReferenceHeading> ReadReferenceHeadings(Database &db, const std::vector<int> &rangs)
{
    QHash<int, ReferenceHeading> headings;
    if (rangs.empty())
        return headings;
    // Whole numbers only: the list is part of the statement.
    QStringList list;
    for (int rang : rangs)
        list << QString::number(rang);
    StatementPtr stmt = db.prepare(QStringLiteral("SELECT Rang, An, Numéro, Titre FROM TArticles "
                                                  "WHERE Rang IN (") +
                                   list.join(u',') + u')');
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        headings.insert(sqlite3_column_int(stmt.get(), 0),
                        {columnValue(stmt.get(), 1).toString().trimmed(),
                         columnValue(stmt.get(), 2).toString().trimmed(),
                         columnValue(stmt.get(), 3).toString().trimmed()});
    if (rc != SQLITE_DONE)
        db.fail(rc);
    return headings;
}

QString extractText(const QString &marked)
{
    QString text = marked;
    text.remove(QChar(TextIndex::ExtractMarkOn));
    text.remove(QChar(TextIndex::ExtractMarkOff));
    return text;
}

QString extractHtml(const QString &marked)
{
    QString html = marked.toHtmlEscaped();
    html.replace(QChar(TextIndex::ExtractMarkOn), QStringLiteral("<b>"));
    html.replace(QChar(TextIndex::ExtractMarkOff), QStringLiteral("</b>"));
    return html;
}

void FullTextResultModel::setResults(std::vector<TextIndex::Hit> hits,
                                     QHash<int, ReferenceHeading> headings,
                                     ExtractReader readExtract)
{
    beginResetModel();
    m_hits = std::move(hits);
    m_headings = std::move(headings);
    m_readExtract = std::move(readExtract);
    m_extracts.clear();
    m_rangs.clear();
    QSet<int> seen;
    for (const TextIndex::Hit &hit : m_hits) {
        if (!seen.contains(hit.rang)) {
            seen.insert(hit.rang);
            m_rangs.push_back(hit.rang);
        }
    }
    endResetModel();
}

void FullTextResultModel::clear()
{
    setResults({}, {}, {});
}

int FullTextResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

int FullTextResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const QString &FullTextResultModel::extract(int row) const
{
    auto it = m_extracts.find(row);
    if (it == m_extracts.end())
        it = m_extracts.insert(row,
                               m_readExtract ? m_readExtract(m_hits[size_t(row)].row) : QString());
    return *it;
}

QVariant FullTextResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TextIndex::Hit &hit = m_hits[size_t(index.row())];
    if (role == ExtractHtmlRole && index.column() == ExtractColumn)
        return extractHtml(extract(index.row()));
    if (role == Qt::TextAlignmentRole && index.column() != TitleColumn &&
        index.column() != ExtractColumn)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const ReferenceHeading heading = m_headings.value(hit.rang);
    switch (index.column()) {
    case YearColumn:
        return heading.year;
    case BulletinColumn:
        return heading.bulletin;
    case TitleColumn:
        return heading.title;
    case PageColumn:
        return hit.page;
    case ExtractColumn:
        return extractText(extract(index.row()));
    default:
        return {};
    }
}

QVariant FullTextResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[ColumnCount] = {"Année", "Bulletin", "Titre", "Page",
                                                    "Extrait"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

} // namespace ferlin
