#include "apps/ShaperPreload.h"

#include <dlfcn.h>

#include <atomic>
#include <system_error>

namespace plotara::apps {

ShaperPreload::ShaperPreload() noexcept {
    // Once a process: later charts (a batch's) find the library open.
    static std::atomic<bool> started{false};
    if (started.exchange(true)) return;
    try {
        // The flags are those of ShaperLibrary.cpp, whose dlopen then only finds the library open.
        thread_ = std::thread([] { ::dlopen(shaperLibrary, RTLD_LAZY | RTLD_LOCAL); });
    } catch (const std::system_error&) {
        // No thread: the library opens at the first shaped text.
    }
}

ShaperPreload::~ShaperPreload() {
    if (thread_.joinable()) thread_.join();
}

} // namespace plotara::apps
