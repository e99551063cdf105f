#include "platform/embeddedengine.h"

#include <sqlite3.h>

namespace platform {

void tuneEmbeddedEngine() {
    static const bool tuned = [] {
        // Both calls refuse (SQLITE_MISUSE) once the engine has started; that only costs speed.
        const bool multiThread = sqlite3_config(SQLITE_CONFIG_MULTITHREAD) == SQLITE_OK;
        const bool noMemoryStatus = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
        return multiThread && noMemoryStatus;
    }();
    static_cast<void>(tuned);
}

}  // namespace platform
