#pragma once

#include <atomic>
#include <cstdint>

namespace tf {

// How far a long piece of work is, written by the thread doing it and read by the window
// showing it, and the window's wish that it stop.
struct WorkProgress {
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> total{0};
    std::atomic<bool> stop{false};

    bool stopped() const { return stop.load(std::memory_order_relaxed); }
};

}  // namespace tf
