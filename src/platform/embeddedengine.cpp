#include "platform/embeddedengine.h"

#include <sqlite3.h>

#include <mutex>

namespace platform {

void tuneEmbeddedEngine() {
    static std::once_flag tuned;
    // Both settings are refused (SQLITE_MISUSE) once the engine has started; that costs speed only.
    std::call_once(tuned, [] {
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    });
}

}  // namespace platform
