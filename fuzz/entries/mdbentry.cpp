#include "fuzzentries.h"
#include "inputfile.h"

#include "core/db/dberror.h"
#include "core/import/childjetsource.h"
#include "core/import/mdbrowsource.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QVariant>

#include <functional>

namespace ferlin::fuzz {

namespace {

bool OfKind(const QVariant &value, ColumnKind kind)
{
    if (!value.isValid()) // NULL
        return true;
    switch (kind) {
    case ColumnKind::Integer:
        return value.typeId() == QMetaType::LongLong;
    case ColumnKind::Real:
        return value.typeId() == QMetaType::Double;
    case ColumnKind::Text:
        return value.typeId() == QMetaType::QString;
    case ColumnKind::Date:
        return value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid() &&
               value.toDateTime().timeSpec() == Qt::UTC;
    case ColumnKind::Boolean:
        return value.typeId() == QMetaType::Bool;
    }
    return false;
}

// Called after each question with its name; returns a fault, or nothing.
using Watch = std::function<std::string(const char *question)>;

// Asks each table what the conversion asks: its columns, its row count, its rows. A refusal
// (DbError) ends that table's questions, not the next table's.
std::string AskEveryTable(RowSource &source, const QStringList &tables, const Watch &watch)
{
    for (const QString &table : tables) {
        try {
            const std::vector<SourceColumn> columns = source.columns(table);
            if (std::string fault = watch("columns"); !fault.empty())
                return fault;
            source.rowCount(table);
            if (std::string fault = watch("rowCount"); !fault.empty())
                return fault;
            std::string fault;
            source.readRows(table, [&](const QVariantList &values) {
                if (!fault.empty())
                    return;
                if (size_t(values.size()) != columns.size()) {
                    fault = "a row of " + table.toStdString() + " has " +
                            std::to_string(values.size()) + " values for " +
                            std::to_string(columns.size()) + " columns";
                    return;
                }
                for (size_t i = 0; i < columns.size(); ++i)
                    if (!OfKind(values.at(qsizetype(i)), columns[i].kind)) {
                        fault = "a value of " + columns[i].name.toStdString() + " in " +
                                table.toStdString() + " is a " +
                                values.at(qsizetype(i)).typeName() + ", not of its column's kind";
                        return;
                    }
            });
            if (!fault.empty())
                return fault;
            if (fault = watch("readRows"); !fault.empty())
                return fault;
        } catch (const DbError &) {
            if (std::string fault = watch("a refusal"); !fault.empty())
                return fault;
        }
    }
    return {};
}

} // namespace

std::string MdbSourceRead(const std::uint8_t *data, std::size_t size)
{
    const QString path = WriteInputFile("input.mdb", data, size);
    if (path.isEmpty())
        return "the input cannot be written to a file";
    std::unique_ptr<RowSource> source;
    try {
        source = MdbRowSource::open(path);
    } catch (const DbError &error) {
        if (error.description().isEmpty())
            return "a file is refused without a reason";
        return {};
    }
    return AskEveryTable(*source, source->tables(), [](const char *) { return std::string(); });
}

std::string MdbSourceReadInChild(const std::uint8_t *data, std::size_t size)
{
    const QString path = WriteInputFile("input.mdb", data, size);
    if (path.isEmpty())
        return "the input cannot be written to a file";
    ReaderLimits limits;
    limits.stallMs = 3000;
    limits.answerMs = 10000;
    limits.memoryBytes = qint64(512) << 20;
    // An answer may come at the limit, then the child is stopped and reaped.
    const qint64 longest = limits.answerMs + 3000;
    QElapsedTimer clock;
    clock.start();
    const Watch watch = [&](const char *question) {
        const qint64 took = clock.restart();
        if (took > longest)
            return std::string(question) + " came after " + std::to_string(took) +
                   " ms, past the reader child's limits";
        return std::string();
    };
    const std::unique_ptr<RowSource> source = ChildJetSource::open(path, limits);
    QStringList tables;
    try {
        tables = source->tables();
    } catch (const DbError &error) {
        if (error.description().contains(readerFailureText(ReaderFailure::NotStarted)))
            return "the reader child cannot be run: " + error.description().toStdString();
        return watch("the refusal to open");
    }
    if (std::string fault = watch("the tables"); !fault.empty())
        return fault;
    return AskEveryTable(*source, tables, watch);
}

} // namespace ferlin::fuzz
