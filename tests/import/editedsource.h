#pragma once

#include "core/import/rowsource.h"

#include <functional>

namespace ferlin::test {

// Another source passed through with the changes a test makes: tables hidden, columns renamed
// or retyped, values changed, row counts misstated.
class EditedSource : public RowSource {
public:
    explicit EditedSource(RowSource &inner) : m_inner(inner) {}
    explicit EditedSource(std::unique_ptr<RowSource> inner)
        : m_owned(std::move(inner)), m_inner(*m_owned)
    {
    }

    QStringList hiddenTables;
    std::function<void(const QString &table, std::vector<SourceColumn> &columns)> editColumns;
    std::function<void(const QString &table, QVariantList &values)> editRow;
    std::function<qint64(const QString &table, qint64 rows)> editCount;

    QString name() const override { return m_inner.name(); }
    QStringList tables() override
    {
        QStringList names = m_inner.tables();
        for (const QString &hidden : hiddenTables)
            names.removeAll(hidden);
        return names;
    }
    std::vector<SourceColumn> columns(const QString &table) override
    {
        std::vector<SourceColumn> list = m_inner.columns(table);
        if (editColumns)
            editColumns(table, list);
        return list;
    }
    qint64 rowCount(const QString &table) override
    {
        const qint64 rows = m_inner.rowCount(table);
        return editCount ? editCount(table, rows) : rows;
    }
    void readRows(const QString &table, const RowHandler &row) override
    {
        m_inner.readRows(table, [&](const QVariantList &values) {
            if (!editRow)
                return row(values);
            QVariantList edited = values;
            editRow(table, edited);
            row(edited);
        });
    }

private:
    std::unique_ptr<RowSource> m_owned;
    RowSource &m_inner;
};

} // namespace ferlin::test
