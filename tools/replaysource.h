#pragma once

#include "core/import/rowsource.h"

#include <memory>

struct sqlite3;

namespace ferlin::sample {

// A base of the program read back as the published file would give its tables: the stand-in
// for the published file, which no tool here can write, so that the conversion runs on the
// sample base. Column kinds follow the declared types (INTEGER, REAL, else text); rows come in
// the table's own order.
class ReplaySource : public RowSource {
public:
    explicit ReplaySource(const QString &base); // DbError when it cannot be opened
    ~ReplaySource() override;

    QString name() const override { return m_name; }
    QStringList tables() override;
    std::vector<SourceColumn> columns(const QString &table) override;
    qint64 rowCount(const QString &table) override;
    void readRows(const QString &table, const RowHandler &row) override;

private:
    struct Closer {
        void operator()(sqlite3 *db) const;
    };
    QStringList texts(const QString &sql);

    QString m_name;
    std::unique_ptr<sqlite3, Closer> m_db;
};

} // namespace ferlin::sample
