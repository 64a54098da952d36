#include "HelperThread.h"

#include <system_error>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

namespace {

void SendElsewhere(std::jthread &thread, [[maybe_unused]] int maker) noexcept
{
#if defined(__linux__)
    cpu_set_t cores;
    if (maker < 0 || !thread.joinable() || sched_getaffinity(0, sizeof cores, &cores) != 0)
        return;
    CPU_CLR(maker, &cores);
    if (CPU_COUNT(&cores) > 0)
        pthread_setaffinity_np(thread.native_handle(), sizeof cores, &cores);
#endif
}

} // namespace

std::jthread StartHelperThread(std::function<void()> Work)
{
#if defined(__linux__)
    const int core = sched_getcpu();
#else
    const int core = -1;
#endif
    std::jthread thread;
    try {
        thread = std::jthread(std::move(Work));
    } catch (const std::system_error &) {
        return {};
    }
    SendElsewhere(thread, core);
    return thread;
}
