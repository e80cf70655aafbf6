// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One application object for the whole benchmark binary, as in the program (it sets the
// locale from the environment), offscreen; then Google Benchmark runs. The program fails
// (exit code 1) when a benchmark reports an error, so that `make bench` notices.
#include "BenchSupport.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <unistd.h>

namespace {

std::vector<std::function<void()>> &cleanups()
{
    static std::vector<std::function<void()>> list;
    return list;
}

// A reporter of the format asked for that also notes whether any run failed.
template <typename Base>
class FailureNoting : public Base {
public:
    using Base::Base;
    void ReportRuns(const std::vector<benchmark::BenchmarkReporter::Run> &runs) override
    {
        for (const benchmark::BenchmarkReporter::Run &run : runs) {
            if (run.error_occurred)
                failed = true;
        }
        Base::ReportRuns(runs);
    }
    bool failed = false;
};

// The value of --benchmark_format, which benchmark::Initialize takes out of argv.
std::string formatAsked(int argc, char **argv)
{
    const char *const flag = "--benchmark_format=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            return argv[i] + std::strlen(flag);
    }
    return "console";
}

template <typename Reporter, typename... Options>
bool runAll(Options... options)
{
    Reporter reporter(options...);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return !reporter.failed;
}

}  // namespace

namespace jabbly::bench {

void atExit(std::function<void()> cleanup) { cleanups().push_back(std::move(cleanup)); }

}  // namespace jabbly::bench

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string format = formatAsked(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    bool ok = true;
    if (format == "json") {
        ok = runAll<FailureNoting<benchmark::JSONReporter>>();
    } else if (format == "csv") {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // still offered while the library has it
        ok = runAll<FailureNoting<benchmark::CSVReporter>>();
#pragma GCC diagnostic pop
    } else {
        ok = runAll<FailureNoting<benchmark::ConsoleReporter>>(
            isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults : benchmark::ConsoleReporter::OO_Tabular);
    }

    while (!cleanups().empty()) {
        const std::function<void()> cleanup = std::move(cleanups().back());
        cleanups().pop_back();
        cleanup();
    }
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
