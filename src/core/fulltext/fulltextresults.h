#pragma once

#include "core/fulltext/textindex.h"

#include <QAbstractTableModel>
#include <QHash>

#include <functional>
#include <vector>

namespace ferlin {

// What the list of results shows of a reference, read from the catalogue base.
struct ReferenceHeading {
    QString year;
    QString bulletin;
    QString title;
};

// The headings of references (Rang → year, bulletin, title), read in one statement; a Rang the
// base does not hold has none. Throws DbError.
QHash<int, ReferenceHeading> ReadReferenceHeadings(Database &db, const std::vector<int> &rangs);

// The pages found by a full-text search, most relevant first: year, bulletin, title, page and
// an extract. Extracts are read when first shown (a common word finds thousands of pages);
// ExtractHtmlRole gives the extract with the words found in bold.
class FullTextResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { YearColumn, BulletinColumn, TitleColumn, PageColumn, ExtractColumn, ColumnCount };
    static constexpr int ExtractHtmlRole = Qt::UserRole + 1;
    // The extract of a page's row, with TextIndex's marks around the words found.
    using ExtractReader = std::function<QString(qint64 row)>;

    using QAbstractTableModel::QAbstractTableModel;

    void setResults(std::vector<TextIndex::Hit> hits, QHash<int, ReferenceHeading> headings,
                    ExtractReader readExtract);
    void clear();

    const TextIndex::Hit &hit(int row) const { return m_hits.at(size_t(row)); }
    int pageCount() const { return int(m_hits.size()); }
    int referenceCount() const { return int(m_rangs.size()); }
    // Every reference found, once each, the most relevant first.
    const std::vector<int> &rangs() const { return m_rangs; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const QString &extract(int row) const;

    std::vector<TextIndex::Hit> m_hits;
    std::vector<int> m_rangs;
    QHash<int, ReferenceHeading> m_headings;
    ExtractReader m_readExtract;
    mutable QHash<int, QString> m_extracts; // by row, once read
};

// The extract as plain text, and as HTML with the words found in bold.
QString extractText(const QString &marked);
QString extractHtml(const QString &marked);

} // namespace ferlin
