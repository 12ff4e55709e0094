#pragma once

#include "core/platform/platformerror.h"

namespace ferlin {

// What the user answers when a step found the drive not ready.
enum class NotReadyAnswer {
    TryAgain, // the disc is in: the step runs again
    Stop,     // no disc will come: DiscWaitStopped is thrown
    NotMine,  // not a failure the caller waits for: it goes up as it was
};

// The user gave up waiting for a disc.
struct DiscWaitStopped {};

// Runs a step of the outside world again for as long as it fails in a way `answer` (shown the
// failure, it tells the user) says is worth waiting for: the drive not ready, a disc's folder not
// there yet. The one loop of the text copy, the viewer installer and the text access.
template <typename Step, typename Answer>
decltype(auto) RetryWhileNotReady(Step step, Answer answer)
{
    for (;;) {
        try {
            return step();
        } catch (const PlatformError &error) {
            switch (answer(error)) {
            case NotReadyAnswer::TryAgain:
                break;
            case NotReadyAnswer::Stop:
                throw DiscWaitStopped{};
            case NotReadyAnswer::NotMine:
                throw;
            }
        }
    }
}

} // namespace ferlin
