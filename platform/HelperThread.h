#pragma once

#include <functional>
#include <thread>

// Starts Work on a thread of its own for a short job beside the calling
// thread, placed on the other cores at once: a new thread otherwise waits on
// its maker's core until the scheduler spreads the load, after an idle spell
// often about a millisecond, as long as the whole job. The thread lives only
// for its job, so it is not let back. Empty when no thread can be started;
// the caller then does the work itself.
std::jthread StartHelperThread(std::function<void()> Work);
