// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for the whole test binary, then GoogleTest runs the tests.
#include <QApplication>

#include <gtest/gtest.h>

#ifdef JABBLY_SANITIZE
// The sanitizer build: any report ends the test with a failure (the UBSan checks are
// built not to recover), leaks included, and says where. The environment's
// ASAN_OPTIONS and UBSAN_OPTIONS still win.
extern "C" __attribute__((visibility("default"), used)) const char *__asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1";
}
extern "C" __attribute__((visibility("default"), used)) const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
