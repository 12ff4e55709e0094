#include "core/db/recordset.h"

#include "core/db/jetdialect.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <unordered_set>

namespace ferlin {

namespace {

constexpr int InvalidArgument = 3001;
constexpr int NoAddInProgress = 3020;

// The statement with its literals and bracketed names blanked, to look for keywords safely.
QString withoutLiterals(const QString &sql)
{
    QString out = sql;
    QChar open;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (open.isNull()) {
            if (c == u'\'' || c == u'"')
                open = c;
            else if (c == u'[')
                open = u']';
            continue;
        }
        if (c == open)
            open = QChar();
        else
            out[i] = u' ';
    }
    return out;
}

} // namespace

namespace {

// A bare or bracketed table name, without a statement around it.
bool isTableName(const QString &text)
{
    if (text.isEmpty())
        return false;
    if (text.startsWith(u'['))
        return text.endsWith(u']') && text.indexOf(u']') == text.size() - 1;
    for (QChar c : text) {
        if (c.isSpace() || c == u'[' || c == u']' || c == u';')
            return false;
    }
    return true;
}

} // namespace

RecordSet::RecordSet(Database &db, const QString &source) : m_db(db), m_source(source)
{
    prepare();
    load();
}

RecordSet::RecordSet(Database &db, const QString &source, Keyset keys) : m_db(db), m_source(source)
{
    prepare();
    m_keys = std::move(keys);
}

void RecordSet::prepare()
{
    const QString &source = m_source;
    QString rest;
    const QString trimmed = source.trimmed();
    if (isTableName(trimmed)) {
        m_table = trimmed;
    } else {
        static const QRegularExpression selectAll(
            QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+(\\[[^\\]]+\\]|[^\\s\\[\\];]+)(.*)$"),
            QRegularExpression::CaseInsensitiveOption |
                QRegularExpression::DotMatchesEverythingOption);
        const auto m = selectAll.match(source);
        if (!m.hasMatch())
            throw DbError(
                DbErrorCode::UnsupportedSource,
                QStringLiteral("Source d'enregistrements non prise en charge : %1").arg(source));
        m_table = m.captured(1);
        rest = translateJetSql(m.captured(2));
    }
    if (m_table.startsWith(u'['))
        m_table = m_table.mid(1, m_table.size() - 2);

    const QString table = u'[' + m_table + u']';
    m_keysetSql = QStringLiteral("SELECT rowid FROM ") + table + rest;
    if (rest.trimmed().isEmpty()) {
        // The whole table in its stored order: a run of consecutive rows, or the rowids read from
        // the smallest index and sorted here.
        m_sortKeys = true;
    } else if (static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                                       QRegularExpression::CaseInsensitiveOption);
               !withoutLiterals(rest).contains(orderBy)) {
        m_keysetSql += QStringLiteral(" ORDER BY rowid");
    }

    m_fetch =
        m_db.prepare(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE rowid=?"));
    const int columns = sqlite3_column_count(m_fetch.get());
    for (int i = 0; i < columns; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(m_fetch.get(), i));
        m_fields << name;
        m_fieldIndex.insert(name.toLower(), i);
    }
}

void RecordSet::load()
{
    m_pos = 0;
    m_currentDeleted = false;
    m_cacheValid = false;
    if (m_sortKeys && loadRun())
        return;
    StatementPtr stmt = m_db.prepare(m_keysetSql);
    std::vector<qint64> keys;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        keys.push_back(sqlite3_column_int64(stmt.get(), 0));
    if (rc != SQLITE_DONE)
        m_db.fail(rc);
    if (m_sortKeys)
        std::sort(keys.begin(), keys.end());
    m_keys.assignList(std::move(keys));
}

bool RecordSet::loadRun()
{
    // A whole table whose rows were never thinned out holds consecutive identities. Three
    // look-ups tell, each answered from an index without reading a row (asked together, they
    // would walk the table). The count walks a whole index; the start-up reads it mapped (see
    // MappedReads), elsewhere it is read page by page: a map would hold, besides the index's
    // pages, those the system maps around each of them.
    ReadTransaction reading(m_db);
    const QString table = QStringLiteral(" FROM [") + m_table + u']';
    auto scalar = [&](const QString &what) {
        StatementPtr stmt = m_db.prepare(QStringLiteral("SELECT ") + what + table);
        const int rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_ROW)
            m_db.fail(rc);
        return sqlite3_column_int64(stmt.get(), 0);
    };
    const qint64 count = scalar(QStringLiteral("count(*)"));
    if (count == 0) {
        m_keys.assignRun(1, 0);
        return true;
    }
    const qint64 first = scalar(QStringLiteral("min(rowid)"));
    const qint64 last = scalar(QStringLiteral("max(rowid)"));
    if (last - first + 1 != count)
        return false;
    m_keys.assignRun(first, count);
    return true;
}

void RecordSet::requery()
{
    load();
}

void RecordSet::requireCurrent() const
{
    if (!hasCurrent())
        throw DbError(DbErrorCode::NoCurrentRecord,
                      QStringLiteral("Aucun enregistrement en cours."));
}

void RecordSet::moveFirst()
{
    if (m_keys.empty())
        requireCurrent();
    m_pos = 0;
    m_currentDeleted = false;
}

void RecordSet::moveLast()
{
    if (m_keys.empty())
        requireCurrent();
    m_pos = recordCount() - 1;
    m_currentDeleted = false;
}

void RecordSet::moveNext()
{
    if (m_currentDeleted) {
        m_currentDeleted = false; // m_pos already names the row that followed
        return;
    }
    if (isEof())
        requireCurrent();
    ++m_pos;
}

void RecordSet::movePrevious()
{
    if (m_currentDeleted) {
        m_currentDeleted = false;
        m_pos = std::max(m_pos - 1, -1);
        return;
    }
    if (isBof())
        requireCurrent();
    --m_pos;
}

void RecordSet::move(int n)
{
    if (m_keys.empty() || (!m_currentDeleted && ((isEof() && n > 0) || (m_pos < 0 && n < 0))))
        throw DbError(DbErrorCode::NoCurrentRecord,
                      QStringLiteral("Aucun enregistrement en cours."));
    long long target = m_pos;
    if (m_currentDeleted && n > 0)
        --target;
    target += n;
    m_currentDeleted = false;
    if (target < 0)
        m_pos = -1;
    else if (target >= recordCount())
        m_pos = recordCount();
    else
        m_pos = int(target);
}

void RecordSet::setAbsolutePosition(int position)
{
    if (position < 0 || position >= recordCount())
        throw DbError(InvalidArgument,
                      QStringLiteral("Position %1 hors de la sélection.").arg(position));
    m_pos = position;
    m_currentDeleted = false;
}

std::vector<qint64> RecordSet::matchingKeys(const QString &condition)
{
    StatementPtr stmt =
        m_db.prepare(QStringLiteral("SELECT rowid FROM [") + m_table + QStringLiteral("] WHERE (") +
                     translateJetSql(condition) + u')');
    std::vector<qint64> keys;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        keys.push_back(sqlite3_column_int64(stmt.get(), 0));
    if (rc != SQLITE_DONE)
        m_db.fail(rc);
    return keys;
}

int RecordSet::findPosition(const QString &condition, bool last)
{
    const auto found = matchingKeys(condition);
    qint64 best = -1;
    if (m_keys.isRun()) {
        for (qint64 key : found) {
            const qint64 index = m_keys.indexOf(key);
            if (index >= 0 && (best < 0 || (last ? index > best : index < best)))
                best = index;
        }
        return int(best);
    }
    const std::unordered_set<qint64> set(found.begin(), found.end());
    const int n = recordCount();
    for (int k = 0; k < n; ++k) {
        const int i = last ? n - 1 - k : k;
        if (set.count(m_keys.at(i)))
            return i;
    }
    return -1;
}

bool RecordSet::findFirst(const QString &condition)
{
    return moveToFound(findPosition(condition, false));
}

bool RecordSet::findLast(const QString &condition)
{
    return moveToFound(findPosition(condition, true));
}

bool RecordSet::moveToFound(int position)
{
    if (position < 0)
        return false;
    m_pos = position;
    m_currentDeleted = false;
    return true;
}

int RecordSet::fieldIndex(const QString &name) const
{
    // Names are mostly written as the table spells them: found without lowering the case.
    const int exact = m_fields.indexOf(name);
    return exact >= 0 ? exact : m_fieldIndex.value(name.toLower(), -1);
}

int RecordSet::fieldIndexOrThrow(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw DbError(DbErrorCode::ObjectNotFound,
                      QStringLiteral("Le champ « %1 » est introuvable dans la table « %2 ».")
                          .arg(field, m_table));
    return index;
}

const std::vector<QVariant> &RecordSet::currentRow() const
{
    requireCurrent();
    const qint64 key = m_keys.at(m_pos);
    if (m_cacheValid && m_cachedKey == key)
        return m_cache;
    sqlite3_stmt *stmt = m_fetch.get();
    sqlite3_reset(stmt);
    sqlite3_bind_int64(stmt, 1, key);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        sqlite3_reset(stmt);
        throw DbError(DbErrorCode::RecordDeleted,
                      QStringLiteral("L'enregistrement a été supprimé."));
    }
    if (rc != SQLITE_ROW) {
        const DbError error = m_db.errorFor(rc);
        sqlite3_reset(stmt);
        throw error;
    }
    m_cache.resize(m_fields.size());
    for (int i = 0; i < int(m_fields.size()); ++i)
        m_cache[size_t(i)] = columnValue(stmt, i);
    sqlite3_reset(stmt);
    m_cachedKey = key;
    m_cacheValid = true;
    return m_cache;
}

QVariant RecordSet::value(int index) const
{
    const auto &row = currentRow();
    if (index < 0 || index >= int(row.size()))
        throw DbError(DbErrorCode::ObjectNotFound,
                      QStringLiteral("Le champ n° %1 est introuvable dans la table « %2 ».")
                          .arg(index)
                          .arg(m_table));
    return row[size_t(index)];
}

QVariant RecordSet::value(const QString &field) const
{
    return value(fieldIndexOrThrow(field));
}

QString RecordSet::text(const QString &field) const
{
    const QVariant v = value(field);
    return v.isNull() ? QString() : v.toString();
}

QStringList RecordSet::texts(const QStringList &fields)
{
    requireCurrent();
    const QString key = fields.join(u'\n');
    if (!m_partial || key != m_partialFields) {
        m_partial = prepareByIdentity(columnList(fields));
        m_partialFields = key;
    }
    sqlite3_stmt *stmt = m_partial.get();
    sqlite3_reset(stmt);
    sqlite3_bind_int64(stmt, 1, m_keys.at(m_pos));
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) {
        const DbError error = rc == SQLITE_DONE
                                  ? DbError(DbErrorCode::RecordDeleted,
                                            QStringLiteral("L'enregistrement a été supprimé."))
                                  : m_db.errorFor(rc);
        sqlite3_reset(stmt);
        throw error;
    }
    QStringList out;
    out.reserve(fields.size());
    for (int i = 0; i < int(fields.size()); ++i) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        out << (text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, i)) : QString());
    }
    sqlite3_reset(stmt);
    return out;
}

StatementPtr RecordSet::prepareByIdentity(const QString &columns) const
{
    return m_db.prepare(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM [") + m_table +
                        QStringLiteral("] WHERE rowid=?"));
}

QString RecordSet::columnList(const QStringList &fields) const
{
    QString columns;
    for (const QString &field : fields) {
        if (!columns.isEmpty())
            columns += u',';
        columns += u'[' + m_fields.at(fieldIndexOrThrow(field)) + u']';
    }
    return columns;
}

namespace {

QStringList columnTexts(sqlite3_stmt *s, int count)
{
    QStringList row;
    row.reserve(count);
    for (int c = 0; c < count; ++c) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s, c));
        row << (text ? QString::fromUtf8(text, sqlite3_column_bytes(s, c)) : QString());
    }
    return row;
}

} // namespace

RowReader::RowReader(Database &db, Keyset keys, StatementPtr statement, int columns)
    : m_db(db), m_keys(std::move(keys)), m_statement(std::move(statement)), m_columns(columns)
{
}

QStringList RowReader::texts(int position) const
{
    sqlite3_stmt *s = m_statement.get();
    sqlite3_reset(s);
    sqlite3_bind_int64(s, 1, m_keys.at(position));
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const DbError error = m_db.errorFor(rc);
        sqlite3_reset(s);
        throw error;
    }
    QStringList row = rc == SQLITE_ROW ? columnTexts(s, m_columns) : QStringList();
    sqlite3_reset(s);
    while (row.size() < m_columns)
        row << QString();
    return row;
}

std::unique_ptr<RowReader> RecordSet::rowReader(const QStringList &fields) const
{
    return std::make_unique<RowReader>(m_db, m_keys, prepareByIdentity(columnList(fields)),
                                       int(fields.size()));
}

void RecordSet::forEachRow(const QString &columns,
                           const std::function<void(sqlite3_stmt *)> &take) const
{
    if (m_keys.empty())
        return;
    // One read transaction for the whole pass: a lock taken once, not once a row. It ends
    // after the statement (declared later, finalized first).
    ReadTransaction reading(m_db);
    if (m_keys.isRun()) {
        // The run's rows in identity order, walked by one statement: no look-up per row.
        StatementPtr stmt =
            m_db.prepare(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM [") + m_table +
                         QStringLiteral("] WHERE rowid BETWEEN ? AND ? ORDER BY rowid"));
        sqlite3_stmt *s = stmt.get();
        sqlite3_bind_int64(s, 1, m_keys.at(0));
        sqlite3_bind_int64(s, 2, m_keys.at(m_keys.size() - 1));
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            take(s);
        if (rc != SQLITE_DONE)
            m_db.fail(rc);
        return;
    }
    StatementPtr stmt = prepareByIdentity(columns);
    sqlite3_stmt *s = stmt.get();
    for (qint64 i = 0; i < m_keys.size(); ++i) {
        sqlite3_reset(s);
        sqlite3_bind_int64(s, 1, m_keys.at(i));
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW)
            take(s);
        else if (rc != SQLITE_DONE)
            m_db.fail(rc);
    }
}

void RecordSet::forEachRowTexts(const QStringList &fields,
                                const std::function<void(const QStringList &)> &take) const
{
    const int count = int(fields.size());
    forEachRow(columnList(fields), [&](sqlite3_stmt *s) { take(columnTexts(s, count)); });
}

std::vector<QStringList> RecordSet::readAll(const QStringList &fields) const
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(recordCount()));
    forEachRowTexts(fields, [&](const QStringList &row) { rows.push_back(row); });
    return rows;
}

void RecordSet::forEachRowValues(
    const std::function<void(const std::vector<QVariant> &)> &take) const
{
    std::vector<QVariant> row(static_cast<size_t>(fieldCount()));
    forEachRow(QStringLiteral("*"), [&](sqlite3_stmt *s) {
        for (int c = 0; c < fieldCount(); ++c)
            row[size_t(c)] = columnValue(s, c);
        take(row);
    });
}

std::vector<std::vector<QVariant>> RecordSet::readAllValues() const
{
    std::vector<std::vector<QVariant>> rows;
    rows.reserve(size_t(recordCount()));
    forEachRowValues([&rows](const std::vector<QVariant> &row) { rows.push_back(row); });
    return rows;
}

void RecordSet::addNew()
{
    m_adding = true;
    m_newRow.assign(size_t(fieldCount()), QVariant());
}

void RecordSet::setValue(int index, const QVariant &value)
{
    if (!m_adding)
        throw DbError(NoAddInProgress, QStringLiteral("Aucun ajout d'enregistrement en cours."));
    if (index < 0 || index >= fieldCount())
        throw DbError(DbErrorCode::ObjectNotFound,
                      QStringLiteral("Le champ n° %1 est introuvable dans la table « %2 ».")
                          .arg(index)
                          .arg(m_table));
    m_newRow[size_t(index)] = value;
}

void RecordSet::setValue(const QString &field, const QVariant &value)
{
    setValue(fieldIndexOrThrow(field), value);
}

void RecordSet::update()
{
    if (!m_adding)
        throw DbError(NoAddInProgress, QStringLiteral("Aucun ajout d'enregistrement en cours."));
    if (!m_insert) {
        QString columns, marks;
        for (int i = 0; i < fieldCount(); ++i) {
            if (i) {
                columns += u',';
                marks += u',';
            }
            columns += u'[' + m_fields.at(i) + u']';
            marks += u'?';
        }
        m_insert = m_db.prepare(QStringLiteral("INSERT INTO [") + m_table + QStringLiteral("] (") +
                                columns + QStringLiteral(") VALUES (") + marks + u')');
    }
    sqlite3_stmt *stmt = m_insert.get();
    sqlite3_reset(stmt);
    for (int i = 0; i < fieldCount(); ++i)
        bindValue(stmt, i + 1, m_newRow[size_t(i)]);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) {
        const DbError error = m_db.errorFor(rc);
        sqlite3_reset(stmt);
        throw error;
    }
    sqlite3_reset(stmt);
    const bool wasEof = isEof();
    m_keys.append(sqlite3_last_insert_rowid(m_db.handle()));
    if (wasEof)
        m_pos = recordCount();
    m_adding = false;
}

void RecordSet::cancelUpdate()
{
    m_adding = false;
    m_newRow.clear();
}

void RecordSet::deleteCurrent()
{
    requireCurrent();
    const qint64 key = m_keys.at(m_pos);
    m_db.executeBound(QStringLiteral("DELETE FROM [") + m_table + QStringLiteral("] WHERE rowid=?"),
                      {key});
    m_keys.removeAt(m_pos);
    m_currentDeleted = true;
    m_cacheValid = false;
}

} // namespace ferlin
