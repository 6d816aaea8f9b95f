#pragma once

#include <algorithm>
#include <chrono>
#include <limits>

namespace bench {

// Keeps the shortest of several timed runs: the one least disturbed by
// everything else the machine does.
class BestOf {
public:
    template <class Work>
    void time(Work&& work)
    {
        const auto begin = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        best_ = std::min(best_, took.count());
    }

    double seconds() const { return best_; }

private:
    double best_ = std::numeric_limits<double>::infinity();
};

}  // namespace bench
