#pragma once

#include <QByteArray>
#include <QString>

namespace ferlin {

// The reader child's side of its exchange with the program: frames on the standard output,
// written in pieces of some tens of kilobytes so that the program sees progress, and the sync
// mark on the standard error after each answer.
class ReaderAnswers {
public:
    ReaderAnswers() = default;
    ~ReaderAnswers() { flush(); }
    ReaderAnswers(const ReaderAnswers &) = delete;
    ReaderAnswers &operator=(const ReaderAnswers &) = delete;

    void frame(const QByteArray &payload);
    // Ends an answer: everything written, then the sync mark.
    void endAnswer();
    void flush();

private:
    QByteArray m_pending;
};

// The next line of the standard input, without its end; false at its end.
bool readQuestion(QString &line);

// Sets the reader child's limits from its environment (the address space the program allows)
// and makes a failed allocation end the child with the exit status the program reads as "out
// of memory".
void limitReaderChild();

} // namespace ferlin
