#pragma once

#include "core/db/database.h"
#include "samplebase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace ferlin::test {

// A generated sample base of a given size, made once per test program, copied into each
// test's own temporary folder so that no test sees another's changes.
inline QString generatedBase(int references)
{
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    auto it = made.find(references);
    if (it == made.end()) {
        const QString folder = dir.filePath(QString::number(references));
        sample::Options options;
        options.references = references;
        options.writeTexts = false;
        sample::generate(folder, options);
        it =
            made.emplace(references, QDir(folder).filePath(QString::fromLatin1(Database::FileName)))
                .first;
    }
    return it->second;
}

// Copies the generated base of that size into `folder`; returns the copy's path.
inline QString copyOfGeneratedBase(const QTemporaryDir &folder, int references)
{
    const QString path = folder.filePath(QString::fromLatin1(Database::FileName));
    QFile::remove(path);
    QFile::copy(generatedBase(references), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

} // namespace ferlin::test
