#include "import/mdbrowsource.h"

#include "db/dberror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <mdbtools.h>

#include <cmath>

namespace ferlin {

namespace {

// What the first page of a Jet file says at byte 4 (Access 2007 and later: "Standard ACE DB").
constexpr const char *JetSignatures[] = {"Standard Jet DB", "Standard ACE DB"};
constexpr int SignatureOffset = 4;
// A memo longer than this is a damaged length, not text: libmdb would try to allocate it.
constexpr quint32 LongestMemo = 64u << 20;
// Dates the Jet engine accepts: 01/01/100 to 31/12/9999, in days from 30/12/1899.
constexpr double FirstJetDay = -657434.0;
constexpr double LastJetDay = 2958465.0;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

DbError damaged(const QString &path, const QString &what)
{
    return DbError(DbErrorCode::UnrecognizedFormat,
                   QStringLiteral("Le fichier « %1 » est endommagé : %2.").arg(shown(path), what));
}

// Refuses at once what is not a Jet file: libmdb would accept an empty file and complain on
// its standard error about many others.
void checkSignature(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError(DbErrorCode::FileNotFound,
                      QStringLiteral("Fichier « %1 » introuvable.").arg(shown(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible de lire le fichier « %1 ».").arg(shown(path)));
    const QByteArray head = file.read(SignatureOffset + 16);
    for (const char *signature : JetSignatures)
        if (head.mid(SignatureOffset, int(qstrlen(signature)) + 1) ==
            QByteArray(signature, int(qstrlen(signature)) + 1))
            return;
    throw DbError(DbErrorCode::ObjectNotFound,
                  QStringLiteral("Le fichier « %1 » n'est pas une base de données Jet (Access).")
                      .arg(shown(path)));
}

// Decodes text the same way whatever the environment says (libmdb reads MDB_ICONV and
// MDB_JET3_CHARSET): Jet 3 stores code page 1252, Jet 4 stores UCS-2.
bool useFixedEncodings(MdbHandle *mdb)
{
    mdb_iconv_close(mdb);
    const char *stored = IS_JET3(mdb) ? "CP1252" : "UCS-2LE";
    mdb->iconv_in = iconv_open("UTF-8", stored);
    mdb->iconv_out = iconv_open(stored, "UTF-8");
    return mdb->iconv_in != iconv_t(-1) && mdb->iconv_out != iconv_t(-1);
}

bool isSkipped(int type)
{
    return type == MDB_OLE || type == MDB_BINARY || type == MDB_COMPLEX;
}

ColumnKind kindOf(int type)
{
    switch (type) {
    case MDB_BOOL:
        return ColumnKind::Boolean;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return ColumnKind::Integer;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return ColumnKind::Real;
    case MDB_DATETIME:
        return ColumnKind::Date;
    default:
        return ColumnKind::Text;
    }
}

// Days from 30/12/1899; the fraction is the time of day, counted forward from midnight even
// for days before 1899 (-1.25 is 29/12/1899 at 6 o'clock).
QVariant jetDate(double days)
{
    if (!std::isfinite(days) || days < FirstJetDay || days > LastJetDay)
        return {};
    double whole = 0;
    const double fraction = std::fabs(std::modf(days, &whole));
    qint64 day = qint64(whole);
    qint64 seconds = qRound64(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += days < 0 ? -1 : 1;
    }
    return QDateTime(QDate(1899, 12, 30).addDays(day), QTime(0, 0).addSecs(int(seconds)), Qt::UTC);
}

struct TableDeleter {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableDeleter>;

MdbColumn *columnAt(MdbTableDef *table, unsigned i)
{
    return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
}

} // namespace

struct MdbRowSource::File {
    QString path;
    MdbHandle *mdb = nullptr;
    QStringList tables;
    std::vector<MdbCatalogEntry *> entries; // by the index of tables

    ~File()
    {
        if (mdb)
            mdb_close(mdb);
    }

    TablePtr read(const QString &table) const
    {
        const qsizetype i = tables.indexOf(table);
        if (i < 0)
            throw DbError(DbErrorCode::ObjectNotFound,
                          QStringLiteral("La table « %1 » est introuvable dans « %2 ».")
                              .arg(table, shown(path)));
        TablePtr def(mdb_read_table(entries[size_t(i)]));
        if (!def || !mdb_read_columns(def.get()))
            throw damaged(path, QStringLiteral("la table « %1 » est illisible").arg(table));
        return def;
    }

    QVariant text(int type, int start, int size) const
    {
        // UTF-8 takes at most three bytes for each stored byte; libmdb writes into a buffer of
        // the bind size, so that size is made to fit each value (memo fields whole).
        size_t stored = size_t(size);
        if (type == MDB_MEMO) {
            if (size < MDB_MEMO_OVERHEAD)
                return QStringLiteral("");
            stored = quint32(mdb_get_int32(mdb->pg_buf, start)) & 0x3FFFFFFFu;
            if (stored > LongestMemo)
                throw damaged(path, QStringLiteral("un mémo annonce %1 octets").arg(stored));
        }
        mdb_set_bind_size(mdb, 3 * stored + 16);
        char *value = mdb_col_to_string(mdb, mdb->pg_buf, start, type, size);
        const QString decoded = QString::fromUtf8(value);
        g_free(value);
        return decoded;
    }

    QVariant value(const MdbColumn *column, const MdbField &field) const
    {
        const int type = column->col_type;
        if (type == MDB_BOOL) // stored in the null mask: a set bit is True
            return QVariant(!field.is_null);
        if (field.is_null)
            return {};
        const int start = field.start;
        const int width = mdb_col_fixed_size(const_cast<MdbColumn *>(column));
        if (start < 0 || field.siz < 0 || start + std::max(width, field.siz) > mdb->fmt->pg_size)
            throw damaged(path, QStringLiteral("une ligne sort de sa page"));
        void *page = mdb->pg_buf;
        switch (type) {
        case MDB_BYTE:
            return qlonglong(mdb_get_byte(page, start));
        case MDB_INT:
            return qlonglong(qint16(mdb_get_int16(page, start)));
        case MDB_LONGINT:
            return qlonglong(qint32(mdb_get_int32(page, start)));
        case MDB_FLOAT:
            return double(mdb_get_single(page, start));
        case MDB_DOUBLE:
            return mdb_get_double(page, start);
        case MDB_MONEY: // a count of ten-thousandths
            return double(qFromLittleEndian<qint64>(mdb->pg_buf + start)) / 10000.0;
        case MDB_NUMERIC: {
            char *digits = mdb_numeric_to_string(mdb, start, column->col_scale, column->col_prec);
            bool ok = false;
            const double number = QString::fromLatin1(digits).replace(u',', u'.').toDouble(&ok);
            g_free(digits);
            if (!ok)
                throw damaged(path, QStringLiteral("un nombre décimal est illisible"));
            return number;
        }
        case MDB_DATETIME:
            return jetDate(mdb_get_double(page, start));
        default:
            return text(type, start, field.siz);
        }
    }
};

std::unique_ptr<RowSource> MdbRowSource::open(const QString &path)
{
    checkSignature(path);
    auto file = std::make_unique<File>();
    file->path = path;
    file->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS); // read-only
    if (!file->mdb)
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(shown(path)));
    if (!useFixedEncodings(file->mdb))
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Le système ne sait pas décoder les textes de « %1 ».")
                          .arg(shown(path)));
    if (!mdb_read_catalog(file->mdb, MDB_TABLE))
        throw damaged(path, QStringLiteral("la liste de ses tables est illisible"));
    for (unsigned i = 0; i < file->mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(file->mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry)) {
            file->tables << QString::fromUtf8(entry->object_name);
            file->entries.push_back(entry);
        }
    }
    return std::unique_ptr<RowSource>(new MdbRowSource(std::move(file)));
}

MdbRowSource::MdbRowSource(std::unique_ptr<File> file) : m_file(std::move(file)) {}

MdbRowSource::~MdbRowSource() = default;

QString MdbRowSource::name() const
{
    return shown(m_file->path);
}

QStringList MdbRowSource::tables()
{
    return m_file->tables;
}

std::vector<SourceColumn> MdbRowSource::columns(const QString &table)
{
    const TablePtr def = m_file->read(table);
    std::vector<SourceColumn> result;
    for (unsigned i = 0; i < def->num_cols; ++i) {
        const MdbColumn *column = columnAt(def.get(), i);
        if (!isSkipped(column->col_type))
            result.push_back({QString::fromUtf8(column->name), kindOf(column->col_type)});
    }
    return result;
}

qint64 MdbRowSource::rowCount(const QString &table)
{
    return m_file->read(table)->num_rows;
}

void MdbRowSource::readRows(const QString &table, const RowHandler &row)
{
    const TablePtr def = m_file->read(table);
    MdbTableDef *t = def.get();
    MdbHandle *mdb = m_file->mdb;
    std::vector<unsigned> kept;
    for (unsigned i = 0; i < t->num_cols; ++i)
        if (!isSkipped(columnAt(t, i)->col_type))
            kept.push_back(i);
    std::vector<MdbField> fields(t->num_cols);
    std::vector<const MdbField *> byColumn(t->num_cols);
    QVariantList values;
    mdb_rewind_table(t);
    // libmdb walks the rows; each row found is cracked again here for its fields, whose null
    // flags tell a NULL from an empty text.
    while (mdb_fetch_row(t)) {
        int start = 0;
        size_t size = 0;
        if (t->cur_row == 0 || mdb_find_row(mdb, int(t->cur_row) - 1, &start, &size) != 0)
            throw damaged(m_file->path,
                          QStringLiteral("une ligne de « %1 » est illisible").arg(table));
        const int cracked = mdb_crack_row(t, start & 0x1FFF, size, fields.data());
        if (cracked < 0)
            throw damaged(m_file->path,
                          QStringLiteral("une ligne de « %1 » est illisible").arg(table));
        std::fill(byColumn.begin(), byColumn.end(), nullptr);
        for (unsigned i = 0; i < t->num_cols; ++i)
            if (fields[i].colnum >= 0 && unsigned(fields[i].colnum) < t->num_cols)
                byColumn[size_t(fields[i].colnum)] = &fields[i];
        values.clear();
        for (unsigned i : kept) {
            const MdbField *field = byColumn[i];
            values << (field ? m_file->value(columnAt(t, i), *field) : QVariant());
        }
        row(values);
    }
}

} // namespace ferlin
