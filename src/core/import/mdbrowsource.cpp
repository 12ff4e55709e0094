#include "core/import/mdbrowsource.h"

#include "core/db/dberror.h"

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
// The offset of a row in its page, below the slot's two flags.
constexpr int OffsetMask = 0x1FFF;

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
// MDB_JET3_CHARSET): Jet 3 stores code page 1252, Jet 4 stores UTF-16 (libmdb's own UCS-2
// refuses the surrogate pairs of characters beyond the Basic Multilingual Plane).
bool useFixedEncodings(MdbHandle *mdb)
{
    mdb_iconv_close(mdb);
    const char *stored = IS_JET3(mdb) ? "CP1252" : "UTF-16LE";
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
        // What libmdb will decode: the field itself, or the memo's bytes (in the row, on their
        // page or on a chain of pages). A memo whose bytes do not match its announced length
        // is refused before libmdb reads it.
        size_t stored = size_t(size);
        size_t decodedBytes = stored;
        QByteArray memo;
        const char *data = reinterpret_cast<const char *>(mdb->pg_buf) + start;
        if (type == MDB_MEMO) {
            if (size < MDB_MEMO_OVERHEAD)
                return QStringLiteral("");
            const quint32 head = quint32(mdb_get_int32(mdb->pg_buf, start));
            stored = head & 0x3FFFFFFFu;
            if (stored > LongestMemo)
                throw damaged(path, QStringLiteral("un mémo annonce %1 octets").arg(stored));
            if (head & 0x80000000u) {
                if (stored + MDB_MEMO_OVERHEAD > size_t(size))
                    throw damaged(path,
                                  QStringLiteral("un mémo annonce plus d'octets que sa ligne"));
                data += MDB_MEMO_OVERHEAD;
                decodedBytes = size_t(size) - MDB_MEMO_OVERHEAD;
            } else {
                memo = memoPages(start, stored);
                data = memo.constData();
                decodedBytes = size_t(memo.size());
            }
        }
        // UTF-8 takes at most three bytes for each stored byte; libmdb writes into a buffer of
        // the bind size and ends it with a zero only when there is room, so that size is made
        // to fit what it decodes.
        if (decodedBytes == 0 && stored == 0)
            return QStringLiteral(""); // libmdb leaves the buffer of an empty text unended
        const size_t bindSize = 3 * std::max(stored, decodedBytes) + 16;
        mdb_set_bind_size(mdb, bindSize);
        char *value = mdb_col_to_string(mdb, mdb->pg_buf, start, type, size);
        const QString decoded =
            QString::fromUtf8(value, qsizetype(qstrnlen(value, uint(bindSize))));
        g_free(value);
        if (!lengthAgrees(decoded, stored, data))
            throw damaged(
                path,
                QStringLiteral("un texte de %1 octets n'a pu être lu qu'en partie").arg(stored));
        return decoded;
    }

    // The stored bytes of a memo kept outside its row: on one page (flag 0x40000000), or on a
    // chain of pages, each piece led by where the next one is. Whatever does not add up to the
    // length the memo announces is damage: libmdb would give what it found without a word.
    QByteArray memoPages(int start, size_t stored) const
    {
        const bool onePage = quint32(mdb_get_int32(mdb->pg_buf, start)) & 0x40000000u;
        int next = int(mdb_get_int32(mdb->pg_buf, start + 4));
        QByteArray bytes;
        const auto broken = [this] {
            return damaged(path, QStringLiteral("un mémo renvoie à une page illisible"));
        };
        while (next != 0 && size_t(bytes.size()) < stored) {
            void *page = nullptr;
            int offset = 0;
            size_t length = 0;
            if (mdb_find_pg_row(mdb, next, &page, &offset, &length) != 0)
                throw broken();
            const char *row = static_cast<const char *>(page) + offset;
            if (onePage) {
                bytes.append(row, qsizetype(length));
                break;
            }
            if (length < 4)
                throw broken();
            next = int(mdb_get_int32(page, offset));
            bytes.append(row + 4, qsizetype(length) - 4);
        }
        if (size_t(bytes.size()) != stored)
            throw damaged(path, QStringLiteral("un mémo de %1 octets n'en a que %2 dans le fichier")
                                    .arg(stored)
                                    .arg(bytes.size()));
        return bytes;
    }

    // Whether a text read is as long as its stored length says: libmdb stops at a zero and
    // gives what it could read of a memo whose pages are damaged.
    bool lengthAgrees(const QString &decoded, size_t stored, const char *data) const
    {
        if (stored == 0)
            return decoded.isEmpty();
        if (IS_JET3(mdb))
            return size_t(decoded.size()) == stored;
        // Jet 4 compresses a text into one byte a character where it can, after FF FE.
        const bool compressed = stored >= 2 && quint8(data[0]) == 0xFF && quint8(data[1]) == 0xFE;
        if (compressed) {
            // A zero byte switches between one and two bytes a character: a writer never puts
            // two in a row, zeroed bytes do.
            const QByteArrayView body(data + 2, qsizetype(stored) - 2);
            if (body.indexOf(QByteArrayView("\0\0", 2)) >= 0)
                return false;
            return !decoded.isEmpty() || stored <= 2;
        }
        return size_t(decoded.size()) * 2 == stored;
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
    const auto unreadable = [&] {
        return damaged(m_file->path,
                       QStringLiteral("une ligne de « %1 » est illisible").arg(table));
    };
    // Cracks the row at `start` of the page in mdb->pg_buf for its fields, whose null flags
    // tell a NULL from an empty text, and hands its values on.
    const auto readRow = [&](int start, size_t size) {
        if (mdb_crack_row(t, start, size, fields.data()) < 0)
            throw unreadable();
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
    };
    // The table's data pages, as libmdb finds them, each slot in the page's order. libmdb's own
    // walk reads the slot flags the wrong way round (it skips a moved row's slot as deleted and
    // reads the moved data where it lies), so the slots are read here as Jet defines them:
    // 0x8000, a deleted row or data moved here from another slot; 0x4000, a slot that holds
    // where its row's data was moved to.
    const int counts = mdb->fmt->row_count_offset;
    mdb_rewind_table(t);
    while (mdb_read_next_dpg(t)) {
        const unsigned slots = mdb_get_int16(mdb->pg_buf, counts);
        for (unsigned slot = 0; slot < slots; ++slot) {
            const unsigned flags = mdb_get_int16(mdb->pg_buf, counts + 2 + int(slot) * 2);
            if (flags & 0x8000)
                continue;
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, int(slot), &start, &size) != 0)
                throw unreadable();
            start &= OffsetMask;
            if (size == 0)
                continue;
            if (!(flags & 0x4000)) {
                readRow(start, size);
                continue;
            }
            // A row number in the low byte, its page above.
            if (size < 4)
                throw unreadable();
            const int moved = int(mdb_get_int32(mdb->pg_buf, start));
            void *page = nullptr;
            if (mdb_find_pg_row(mdb, moved, &page, &start, &size) != 0 || size == 0)
                throw damaged(
                    m_file->path,
                    QStringLiteral("une ligne déplacée de « %1 » est introuvable").arg(table));
            // The moved data is read from the page libmdb read aside, then the table's page is
            // read again (reading a memo uses the page aside too).
            mdb_swap_pgbuf(mdb);
            readRow(start, size);
            mdb->cur_pg = 0; // libmdb would take the page in its buffer for the one it last read
            if (mdb_read_pg(mdb, t->cur_phys_pg) != mdb->fmt->pg_size)
                throw unreadable();
        }
    }
}

} // namespace ferlin
