#pragma once

#include "platform/Progress.h"

#include <utility>
#include <vector>

namespace trv::test {

// An operator who watches a load and cancels it when told that `at` files are read (never, with a count no load
// reaches); every step told is kept.
struct CancellingProgress final : Progress {
    explicit CancellingProgress(qint64 at) : at(at) {}
    bool step(qint64 done, qint64 total) override {
        steps.push_back({done, total});
        return done < at;
    }
    qint64 at;
    std::vector<std::pair<qint64, qint64>> steps;
};

// An operator who cancels at the `at`-th step told (from 1), whatever it counts: a step told again within a large
// file too. Every step told is kept.
struct CancelAtStep final : Progress {
    explicit CancelAtStep(int at) : at(at) {}
    bool step(qint64 done, qint64 total) override {
        steps.push_back({done, total});
        return int(steps.size()) < at;
    }
    int at;
    std::vector<std::pair<qint64, qint64>> steps;
};

} // namespace trv::test
