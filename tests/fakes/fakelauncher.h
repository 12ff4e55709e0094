#pragma once

#include "core/platform/platformerror.h"
#include "core/platform/programlauncher.h"

#include <QList>

#include <optional>
#include <utility>

namespace ferlin {

// Records each program start; can be told to fail.
class FakeLauncher : public ProgramLauncher {
public:
    struct Start {
        QString program;
        QStringList arguments;
        bool operator==(const Start &other) const
        {
            return program == other.program && arguments == other.arguments;
        }
    };

    void start(const QString &program, const QStringList &arguments) override;

    // Every later start fails with this error (recorded all the same); nullopt to succeed.
    void setFailure(std::optional<PlatformError> error) { m_failure = std::move(error); }

    const QList<Start> &starts() const { return m_starts; }

private:
    QList<Start> m_starts;
    std::optional<PlatformError> m_failure;
};

} // namespace ferlin
