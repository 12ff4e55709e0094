#include "core/search/keysetreader.h"

#include "core/db/database.h"
#include "core/db/recordset.h"

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace ferlin {

namespace {

constexpr auto WaitStep = std::chrono::milliseconds(20);
constexpr int StepsBetweenChecks = 1000;

int stopRequested(void *stop)
{
    return static_cast<const std::atomic<bool> *>(stop)->load() ? 1 : 0;
}

} // namespace

Keyset readKeysApart(const QString &databasePath, const QString &statement, bool ignoreAccents,
                     const std::function<bool()> &wait)
{
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    Keyset keys;
    std::optional<DbError> failure;
    std::thread reader([&] {
        try {
            const std::unique_ptr<Database> db = Database::open(databasePath);
            AccentInsensitiveLike accents(*db, ignoreAccents);
            sqlite3_progress_handler(db->handle(), StepsBetweenChecks, stopRequested, &stop);
            keys = RecordSet(*db, statement).keys();
        } catch (const DbError &error) {
            failure = error;
        }
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
        ended.notify_one();
    });
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (ended.wait_for(lock, WaitStep, [&] { return done; }))
                break;
        }
        if (wait && !stop && !wait())
            stop = true;
    }
    reader.join();
    if (stop)
        throw DbError(DbErrorCode::Cancelled, QStringLiteral("La recherche a été arrêtée."));
    if (failure)
        throw *failure;
    return keys;
}

} // namespace ferlin
