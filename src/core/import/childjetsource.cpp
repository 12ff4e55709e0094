#include "core/import/childjetsource.h"

#include "core/db/dberror.h"
#include "core/import/mdbrowsource.h"
#include "core/platform/readeranswers.h"

#include <QDataStream>
#include <QDir>
#include <QIODevice>

namespace ferlin {

namespace {

// The kinds of frames, their first byte.
constexpr char Opened = 'O', Columns = 'C', Count = 'N', Row = 'R', End = 'E', Failure = 'X';

QByteArray payload(char kind, const std::function<void(QDataStream &)> &write = {})
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << qint8(kind);
    if (write)
        write(out);
    return bytes;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

DbError damaged(const QString &path, const QString &what)
{
    return DbError(DbErrorCode::UnrecognizedFormat,
                   QStringLiteral("Le fichier « %1 » est endommagé : %2.").arg(shown(path), what));
}

} // namespace

std::unique_ptr<RowSource> ChildJetSource::open(const QString &path, ReaderLimits limits)
{
    return std::unique_ptr<RowSource>(new ChildJetSource(path, limits));
}

std::unique_ptr<RowSource> openPublishedBase(const QString &path)
{
    return ChildJetSource::open(path);
}

ChildJetSource::ChildJetSource(const QString &path, ReaderLimits limits)
    : m_path(path), m_child(limits)
{
    m_child.start({QStringLiteral("--jet"), path});
}

ChildJetSource::~ChildJetSource() = default;

QString ChildJetSource::name() const
{
    return shown(m_path);
}

void ChildJetSource::whileWaiting(Idle idle)
{
    m_child.setIdle(std::move(idle));
}

void ChildJetSource::failed()
{
    switch (m_child.failure()) {
    case ReaderFailure::Cancelled:
        throw DbError(DbErrorCode::Cancelled, QStringLiteral("La conversion a été annulée."));
    case ReaderFailure::NotStarted:
        throw DbError(DbErrorCode::CannotOpenFile,
                      QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2.")
                          .arg(shown(m_path), readerFailureText(ReaderFailure::NotStarted)));
    default:
        throw damaged(m_path, readerFailureText(m_child.failure()));
    }
}

// The next frame, which must be of `kind` (or a failure, thrown as the child told it); its
// payload after the kind.
QByteArray ChildJetSource::answer(char kind)
{
    const std::optional<QByteArray> frame = m_child.nextFrame();
    if (!frame)
        failed();
    return checked(*frame, kind);
}

QByteArray ChildJetSource::checked(const QByteArray &frame, char kind)
{
    if (frame.size() < 1)
        throw damaged(m_path, readerFailureText(ReaderFailure::Crashed));
    QDataStream in(frame.mid(1));
    in.setVersion(QDataStream::Qt_6_0);
    const char got = frame.at(0);
    if (got == Failure) {
        qint32 number = 0;
        QString description;
        in >> number >> description;
        endOfAnswer();
        throw DbError(number, description);
    }
    if (got != kind)
        throw damaged(m_path, readerFailureText(ReaderFailure::Crashed));
    return frame.mid(1);
}

// After each answer: whatever libmdb said on the standard error until then has been read, and
// it said nothing.
void ChildJetSource::endOfAnswer()
{
    ++m_answers;
    if (!m_child.waitForSyncs(m_answers))
        failed();
    const QString said = m_child.log().saidBeforeLastSync();
    if (!said.isEmpty())
        throw damaged(m_path, QStringLiteral("son lecteur a signalé « %1 »").arg(said));
}

void ChildJetSource::opened()
{
    if (m_open)
        return;
    QDataStream in(answer(Opened));
    in.setVersion(QDataStream::Qt_6_0);
    in >> m_tables;
    endOfAnswer();
    m_open = true;
}

QStringList ChildJetSource::tables()
{
    opened();
    return m_tables;
}

std::vector<SourceColumn> ChildJetSource::columns(const QString &table)
{
    opened();
    m_child.send(QStringLiteral("columns\t") + table);
    QDataStream in(answer(Columns));
    in.setVersion(QDataStream::Qt_6_0);
    qint32 count = 0;
    in >> count;
    std::vector<SourceColumn> result;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        SourceColumn column;
        qint32 kind = 0;
        in >> column.name >> kind;
        column.kind = ColumnKind(kind);
        result.push_back(column);
    }
    endOfAnswer();
    return result;
}

qint64 ChildJetSource::rowCount(const QString &table)
{
    opened();
    m_child.send(QStringLiteral("count\t") + table);
    QDataStream in(answer(Count));
    in.setVersion(QDataStream::Qt_6_0);
    qint64 rows = 0;
    in >> rows;
    endOfAnswer();
    return rows;
}

void ChildJetSource::readRows(const QString &table, const RowHandler &row)
{
    opened();
    m_child.send(QStringLiteral("rows\t") + table);
    QVariantList values;
    for (;;) {
        const std::optional<QByteArray> frame = m_child.nextFrame();
        if (!frame)
            failed();
        if (!frame->isEmpty() && frame->at(0) == End)
            break;
        QDataStream in(checked(*frame, Row));
        in.setVersion(QDataStream::Qt_6_0);
        in >> values;
        row(values);
    }
    endOfAnswer();
}

int serveJetFile(const QString &path)
{
    ReaderAnswers answers;
    const auto failure = [&answers](const DbError &error) {
        answers.frame(payload(Failure, [&error](QDataStream &out) {
            out << qint32(error.number()) << error.description();
        }));
        answers.endAnswer();
    };
    std::unique_ptr<RowSource> source;
    try {
        source = MdbRowSource::open(path);
    } catch (const DbError &error) {
        failure(error);
        return 1;
    }
    answers.frame(payload(Opened, [&source](QDataStream &out) { out << source->tables(); }));
    answers.endAnswer();
    QString question;
    while (readQuestion(question)) {
        const QString verb = question.section(u'\t', 0, 0);
        const QString table = question.section(u'\t', 1);
        try {
            if (verb == QLatin1String("columns")) {
                const std::vector<SourceColumn> columns = source->columns(table);
                answers.frame(payload(Columns, [&columns](QDataStream &out) {
                    out << qint32(columns.size());
                    for (const SourceColumn &column : columns)
                        out << column.name << qint32(column.kind);
                }));
            } else if (verb == QLatin1String("count")) {
                const qint64 rows = source->rowCount(table);
                answers.frame(payload(Count, [rows](QDataStream &out) { out << rows; }));
            } else if (verb == QLatin1String("rows")) {
                source->readRows(table, [&answers](const QVariantList &values) {
                    answers.frame(payload(Row, [&values](QDataStream &out) { out << values; }));
                });
                answers.frame(payload(End));
            } else {
                return 2;
            }
            answers.endAnswer();
        } catch (const DbError &error) {
            failure(error);
        }
    }
    return 0;
}

} // namespace ferlin
