#pragma once

#include "core/import/rowsource.h"
#include "core/platform/readerprocess.h"

#include <memory>

namespace ferlin {

// A Jet file read in a child process ("ferlin-reader --jet FILE", which reads it with
// MdbRowSource), never in the program's own: a file that makes libmdb loop, flood its standard
// error or exhaust the memory stops the child, not the program, and is told as a damaged file
// (DbError 3343, "Le fichier « … » est endommagé : sa lecture ne progresse plus."). Anything
// libmdb says on its standard error while reading is taken as damage too: it reads on past
// errors without telling its caller.
class ChildJetSource : public RowSource {
public:
    // Starts the child; the file is opened by the first question (tables()).
    static std::unique_ptr<RowSource> open(const QString &path, ReaderLimits limits = {});
    ~ChildJetSource() override;

    QString name() const override;
    QStringList tables() override;
    std::vector<SourceColumn> columns(const QString &table) override;
    qint64 rowCount(const QString &table) override;
    void readRows(const QString &table, const RowHandler &row) override;
    void whileWaiting(Idle idle) override;

private:
    ChildJetSource(const QString &path, ReaderLimits limits);
    void opened();
    QByteArray answer(char kind);
    QByteArray checked(const QByteArray &frame, char kind);
    void endOfAnswer();
    [[noreturn]] void failed();

    QString m_path;
    ReaderProcess m_child;
    bool m_open = false;
    QStringList m_tables;
    int m_answers = 0;
};

// The opener of a published base: ChildJetSource with the default limits.
std::unique_ptr<RowSource> openPublishedBase(const QString &path);

// The child's side: answers the program's questions about the Jet file at `path`, one a line
// on the standard input, until its end. Returns the exit status.
int serveJetFile(const QString &path);

} // namespace ferlin
