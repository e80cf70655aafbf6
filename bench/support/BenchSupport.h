// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmark programs share beyond Google Benchmark itself.

#include <functional>

namespace jabbly::bench {

// Runs `cleanup` once the benchmarks are done, while the application object still exists,
// in the reverse order of registration: for shared fixtures that hold widgets or other Qt
// objects, which must not outlive the application.
void atExit(std::function<void()> cleanup);

}  // namespace jabbly::bench
