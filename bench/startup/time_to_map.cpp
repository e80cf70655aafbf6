// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times a program from its exec to the moment its first top-level window is mapped on the
// X server named by DISPLAY, then ends it with SIGTERM. Prints two numbers: the
// milliseconds of wall-clock time to the map, and the CPU milliseconds the program had
// used by then (all its threads, also those that had already ended).
//
//   time_to_map PROGRAM [ARGS...]
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: time_to_map PROGRAM [ARGS...]\n");
        return 2;
    }
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "time_to_map: cannot connect to the X server\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // A window manager may reparent the program's window into a frame: mapping the frame or
    // the window both count, whichever comes first.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    // The child's process CPU clock covers every thread it has had.
    clockid_t childClock{};
    const bool haveClock = clock_getcpuclockid(child, &childClock) == 0;
    while (xcb_generic_event_t *event = xcb_wait_for_event(x)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped)
            break;
    }
    const auto end = std::chrono::steady_clock::now();
    timespec cpu{};
    const bool haveCpu = haveClock && clock_gettime(childClock, &cpu) == 0;
    std::printf("%.2f %.2f\n", std::chrono::duration<double, std::milli>(end - start).count(),
                haveCpu ? cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6 : -1.0);
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    xcb_disconnect(x);
    return 0;
}
