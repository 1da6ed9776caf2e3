#pragma once

#include "mainwindow/Pause.h"

namespace trv::test {

// A pause that returns at once: the tests and benchmarks that do not look at the reader's waits.
class NoPause final : public Pause {
public:
    void wait(qint64) override {}
};

} // namespace trv::test
