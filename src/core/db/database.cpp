#include "core/db/database.h"

#include "core/db/jetdialect.h"
#include "core/db/recordset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace ferlin {

void SqliteCloser::operator()(sqlite3 *db) const
{
    sqlite3_close_v2(db);
}

void StatementFinalizer::operator()(sqlite3_stmt *stmt) const
{
    sqlite3_finalize(stmt);
}

namespace {

QString objectOf(const QString &message, const QString &prefix)
{
    return message.mid(prefix.size()).trimmed();
}

QString describe(int primary)
{
    switch (primary) {
    case SQLITE_BUSY:
        return QStringLiteral("La base de données est occupée par un autre programme.");
    case SQLITE_LOCKED:
        return QStringLiteral("Une table de la base de données est verrouillée.");
    case SQLITE_NOMEM:
        return QStringLiteral("Mémoire insuffisante.");
    case SQLITE_READONLY:
        return QStringLiteral("La base de données est en lecture seule : la modification est "
                              "impossible.");
    case SQLITE_IOERR:
        return QStringLiteral("Erreur de lecture ou d'écriture du fichier de la base de données.");
    case SQLITE_CORRUPT:
        return QStringLiteral("Le fichier de la base de données est endommagé.");
    case SQLITE_FULL:
        return QStringLiteral("Le disque est plein.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Impossible d'ouvrir le fichier de la base de données.");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("Une règle de la base de données interdit cette modification.");
    case SQLITE_MISMATCH:
        return QStringLiteral("Type de donnée incompatible.");
    case SQLITE_TOOBIG:
        return QStringLiteral("Valeur trop grande pour la base de données.");
    case SQLITE_RANGE:
        return QStringLiteral("Paramètre hors limites dans l'instruction SQL.");
    default:
        return QStringLiteral("Erreur de la base de données.");
    }
}

} // namespace

DbError translateSqliteError(int rc, const QString &message)
{
    const int primary = rc & 0xFF;
    static const QString noTable = QStringLiteral("no such table:");
    static const QString noColumn = QStringLiteral("no such column:");
    if (message.startsWith(noTable))
        return DbError(DbErrorCode::ObjectNotFound,
                       QStringLiteral("La table « %1 » est introuvable dans la base de données.")
                           .arg(objectOf(message, noTable)));
    if (message.startsWith(noColumn))
        return DbError(DbErrorCode::ObjectNotFound,
                       QStringLiteral("Le champ « %1 » est introuvable dans la base de données.")
                           .arg(objectOf(message, noColumn)));
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        return DbError(DbErrorCode::DuplicateKey,
                       QStringLiteral("Les modifications n'ont pas été effectuées car elles "
                                      "créeraient des doublons dans l'index ou la clé primaire."));
    if (primary == SQLITE_NOTADB)
        return DbError(DbErrorCode::UnrecognizedFormat,
                       QStringLiteral("Format de base de données non reconnu."));
    if (primary == SQLITE_ERROR && message == QString::fromUtf8(TypeMismatchMessage))
        return DbError(DbErrorCode::TypeMismatch, message);
    if (primary == SQLITE_ERROR) {
        static const QRegularExpression near(QStringLiteral("^near \"(.*)\": syntax error"));
        const auto m = near.match(message);
        if (m.hasMatch())
            return DbError(rc, QStringLiteral("Erreur de syntaxe dans l'instruction SQL, près de "
                                              "« %1 ».")
                                   .arg(m.captured(1)));
        if (message.contains(QStringLiteral("syntax error")) ||
            message.contains(QStringLiteral("unrecognized token")))
            return DbError(rc, QStringLiteral("Erreur de syntaxe dans l'instruction SQL."));
        return DbError(rc, QStringLiteral("Erreur dans l'instruction SQL (%1).").arg(message));
    }
    return DbError(rc, describe(primary));
}

QString Database::defaultPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(FileName));
}

Database::Database(std::unique_ptr<JetLikeOptions> likeOptions,
                   std::unique_ptr<sqlite3, SqliteCloser> db, QString path)
    : m_likeOptions(std::move(likeOptions)), m_db(std::move(db)), m_path(std::move(path))
{
}

Database::~Database() = default;

std::unique_ptr<Database> Database::openWithFlags(const QString &path, int flags)
{
    sqlite3 *raw = nullptr;
    // The program uses its connection from the user-interface thread only: no locking needed.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   flags | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    if (rc != SQLITE_OK)
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(path));
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 3000);
    auto likeOptions = std::make_unique<JetLikeOptions>();
    if (!registerJetFunctions(raw, likeOptions.get()))
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible de préparer la base « %1 ».").arg(path));
    auto database =
        std::unique_ptr<Database>(new Database(std::move(likeOptions), std::move(db), path));
    // Reading the schema tells a real base from any other file at once.
    database->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    return database;
}

std::unique_ptr<Database> Database::open(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError(
            DbErrorCode::FileNotFound,
            QStringLiteral("Fichier « %1 » introuvable.").arg(QDir::toNativeSeparators(path)));
    if (!info.isReadable())
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Impossible d'ouvrir le fichier « %1 » : accès refusé.")
                          .arg(QDir::toNativeSeparators(path)));
    try {
        return openWithFlags(path, SQLITE_OPEN_READWRITE);
    } catch (const DbError &e) {
        if (e.number() == DbErrorCode::UnrecognizedFormat)
            throw DbError(e.number(),
                          QStringLiteral("Le fichier « %1 » n'est pas une base de données "
                                         "reconnue.")
                              .arg(QDir::toNativeSeparators(path)));
        throw;
    }
}

std::unique_ptr<Database> Database::create(const QString &path)
{
    QFile::remove(path);
    return openWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool Database::mapsReads() const
{
    sqlite3_int64 size = 0;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), "PRAGMA mmap_size", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        size = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return size > 0;
}

void Database::compact()
{
    executeBound(QStringLiteral("VACUUM"), {});
}

DbError Database::errorFor(int rc) const
{
    return translateSqliteError(rc, QString::fromUtf8(sqlite3_errmsg(m_db.get())));
}

void Database::fail(int rc) const
{
    throw errorFor(rc);
}

StatementPtr Database::prepare(const QString &sql)
{
    sqlite3_stmt *raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc =
        sqlite3_prepare_v2(m_db.get(), utf8.constData(), int(utf8.size()), &raw, nullptr);
    StatementPtr stmt(raw);
    if (rc != SQLITE_OK)
        fail(rc);
    if (!stmt)
        throw DbError(SQLITE_MISUSE, QStringLiteral("Instruction SQL vide."));
    return stmt;
}

int Database::execute(const QString &jetSql)
{
    return executeBound(translateJetSql(jetSql), {});
}

int Database::executeBound(const QString &sql, const QVariantList &values)
{
    StatementPtr stmt = prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        bindValue(stmt.get(), i + 1, values.at(i));
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fail(rc);
    return sqlite3_changes(m_db.get());
}

QVariant Database::scalar(const QString &jetSql)
{
    StatementPtr stmt = prepare(translateJetSql(jetSql));
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW)
        return columnValue(stmt.get(), 0);
    if (rc != SQLITE_DONE)
        fail(rc);
    return {};
}

std::unique_ptr<RecordSet> Database::openRecordSet(const QString &source)
{
    return std::make_unique<RecordSet>(*this, source);
}

bool Database::hasTable(const QString &name)
{
    StatementPtr stmt =
        prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"));
    bindValue(stmt.get(), 1, name);
    return sqlite3_step(stmt.get()) == SQLITE_ROW;
}

void Database::beginTransaction()
{
    executeBound(QStringLiteral("BEGIN IMMEDIATE"), {});
}

void Database::commit()
{
    executeBound(QStringLiteral("COMMIT"), {});
}

void Database::rollback()
{
    if (!sqlite3_get_autocommit(m_db.get()))
        executeBound(QStringLiteral("ROLLBACK"), {});
}

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.rollback();
        } catch (const DbError &) {
            // Nothing more can be done while unwinding.
        }
    }
}

void Transaction::commit()
{
    m_db.commit();
    m_done = true;
}

ReadTransaction::ReadTransaction(Database &db)
    : m_db(db), m_own(sqlite3_get_autocommit(db.handle()) != 0)
{
    if (m_own)
        m_db.execute(QStringLiteral("BEGIN"));
}

ReadTransaction::~ReadTransaction()
{
    if (!m_own || sqlite3_get_autocommit(m_db.handle()) != 0)
        return;
    try {
        m_db.execute(QStringLiteral("COMMIT"));
    } catch (const DbError &) {
        // Nothing was written; the read lock goes with the next statement's end.
    }
}

MappedReads::MappedReads(Database &db) : m_db(db), m_own(!db.mapsReads())
{
    // A bound of its own would cap the map; SQLite's build sets the real one (2 GB here).
    if (m_own)
        sqlite3_exec(db.handle(), "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
}

MappedReads::~MappedReads()
{
    // Unmapped: the next reads go through read calls again.
    if (m_own)
        sqlite3_exec(m_db.handle(), "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
}

QVariant columnValue(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)),
                                   sqlite3_column_bytes(stmt, i)));
    default:
        return {};
    }
}

void bindValue(sqlite3_stmt *stmt, int i, const QVariant &value)
{
    if (value.isNull()) {
        sqlite3_bind_null(stmt, i);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt, i, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, i, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob(stmt, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
}

} // namespace ferlin
