#include "fakes/fakefilesystem.h"

namespace ferlin {

void FakeFileSystem::failNext(FileOperation operation, const PlatformError &error, int times)
{
    for (int i = 0; i < times; ++i)
        m_failures.append(Failure{operation, error});
}

void FakeFileSystem::record(FileOperation operation, const QString &call) const
{
    m_calls.append(call);
    for (qsizetype i = 0; i < m_failures.size(); ++i) {
        if (m_failures[i].operation == operation) {
            const PlatformError error = m_failures[i].error;
            m_failures.removeAt(i);
            throw error;
        }
    }
}

void FakeFileSystem::createFolder(const QString &path)
{
    record(FileOperation::CreateFolder, QStringLiteral("createFolder ") + path);
    m_real.createFolder(path);
}

QStringList FakeFileSystem::subfolders(const QString &folder) const
{
    record(FileOperation::Subfolders, QStringLiteral("subfolders ") + folder);
    return m_real.subfolders(folder);
}

void FakeFileSystem::copyTree(const QString &source, const QString &destination,
                              const CopyProgressCallback &progress)
{
    record(FileOperation::CopyTree,
           QStringLiteral("copyTree ") + source + QStringLiteral(" -> ") + destination);
    m_real.copyTree(source, destination, progress);
}

void FakeFileSystem::moveTree(const QString &source, const QString &destination,
                              const CopyProgressCallback &progress)
{
    record(FileOperation::MoveTree,
           QStringLiteral("moveTree ") + source + QStringLiteral(" -> ") + destination);
    m_real.moveTree(source, destination, progress);
}

void FakeFileSystem::removeTree(const QString &path)
{
    record(FileOperation::RemoveTree, QStringLiteral("removeTree ") + path);
    m_real.removeTree(path);
}

} // namespace ferlin
