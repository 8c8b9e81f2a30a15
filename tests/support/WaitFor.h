// SPDX-License-Identifier: GPL-3.0-or-later
// Polls a condition that another thread makes true, for tests of asynchronous work.
#pragma once

#include <chrono>
#include <thread>

namespace orvane::test {

// True as soon as `condition` holds; false when it still does not after five seconds.
template <typename Condition> bool waitFor(Condition condition)
{
    using namespace std::chrono_literals;
    for (auto deadline = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(5ms)) {
        if (condition())
            return true;
    }
    return condition();
}

} // namespace orvane::test
