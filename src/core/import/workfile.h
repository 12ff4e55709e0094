#pragma once

#include <QLockFile>
#include <QString>

namespace ferlin {

// The new base while it is being written: a file beside the base it will replace, under a
// fixed hidden name, removed unless it is installed. Installing flushes it to the disk and
// renames it over the base in one step, so the base is at every moment either the former one
// or the new one, whole; a work file left by a killed conversion is removed by the next one.
// A lock beside it keeps two conversions from writing the same work file.
class WorkFile {
public:
    // Creates the base's folder when missing. DbError when the folder cannot be written or
    // another conversion is under way.
    explicit WorkFile(const QString &destination);
    ~WorkFile();
    WorkFile(const WorkFile &) = delete;
    WorkFile &operator=(const WorkFile &) = delete;

    const QString &path() const { return m_path; }

    // Puts the finished work file in the base's place. Its connections must be closed.
    void install();

private:
    void remove();

    QString m_destination;
    QString m_path;
    QLockFile m_lock;
    bool m_installed = false;
};

} // namespace ferlin
