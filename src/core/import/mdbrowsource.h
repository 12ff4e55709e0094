#pragma once

#include "core/import/rowsource.h"

#include <memory>

namespace ferlin {

// A database in the Jet format (Jet 3 or Jet 4, as the catalogue is published), read with
// libmdb of mdbtools through its C API. The file is opened read-only and never changed. Jet 3
// text is decoded from code page 1252, Jet 4 text from UCS-2 (compressed or not); memo fields
// are read whole; binary and OLE columns are left out.
class MdbRowSource : public RowSource {
public:
    // DbError 3024 when the file is missing, 3051 when it cannot be read, 3011 (a database of
    // another structure) when it is not a Jet database.
    static std::unique_ptr<RowSource> open(const QString &path);
    ~MdbRowSource() override;

    QString name() const override;
    QStringList tables() override;
    std::vector<SourceColumn> columns(const QString &table) override;
    qint64 rowCount(const QString &table) override;
    void readRows(const QString &table, const RowHandler &row) override;

private:
    struct File;
    explicit MdbRowSource(std::unique_ptr<File> file);

    std::unique_ptr<File> m_file;
};

} // namespace ferlin
