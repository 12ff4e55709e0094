#include "fakes/fakelauncher.h"

namespace ferlin {

void FakeLauncher::start(const QString &program, const QStringList &arguments)
{
    m_starts.append(Start{program, arguments});
    if (m_failure)
        throw *m_failure;
}

} // namespace ferlin
