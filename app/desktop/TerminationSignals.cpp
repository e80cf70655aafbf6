// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/TerminationSignals.h"

#include "jabbly/error.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcTermination, "jabbly.startup.signals", QtInfoMsg)

namespace jabbly {

namespace {

constexpr std::array HandledSignals{SIGTERM, SIGHUP, SIGINT};

// The pipes from the handlers to the event loop and to the start-up watch. A handler may
// only do async-signal-safe things: it writes the signal's number as one byte to each.
int signalPipe[2] = {-1, -1};
int watchPipe[2] = {-1, -1};
constexpr char StartUpDoneByte = 0;  // no signal has the number 0

extern "C" void onTerminationSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
    written = ::write(watchPipe[1], &byte, 1);  // nobody reads it once start-up is done: it fills, harmlessly
    errno = saved;
}

void closePipe(int (&pipe)[2])
{
    for (int &fd : pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

Error cannotWatch()
{
    return Error(err::CannotCreateObject, QStringLiteral("Cannot watch for termination signals: ") +
                                              QString::fromLocal8Bit(std::strerror(errno)));
}

// The next byte from the pipe, waiting at most `timeout` (-1: for ever); -1 when none came.
int nextByte(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return -1;
        char byte;
        const ssize_t n = ::read(fd, &byte, 1);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        return n == 1 ? static_cast<unsigned char>(byte) : -1;
    }
}

}  // namespace

TerminationSignals::TerminationSignals(std::chrono::milliseconds startUpGrace, QObject *parent) : QObject(parent)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw cannotWatch();
    if (::pipe2(watchPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        const Error error = cannotWatch();
        closePipe(signalPipe);
        throw error;
    }
    startUpWatch_ = std::thread([this, startUpGrace] { watchStartUp(startUpGrace); });

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : HandledSignals)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int number : HandledSignals)
        ::signal(number, SIG_DFL);
    endWatch();
    delete notifier_;
    closePipe(signalPipe);
    closePipe(watchPipe);
}

void TerminationSignals::startUpDone()
{
    endWatch();
    if (notifier_)
        return;
    // Bytes already in the pipe make the notifier fire as soon as the event loop runs.
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
}

void TerminationSignals::endWatch()
{
    if (!startUpWatch_.joinable())
        return;
    const char done = StartUpDoneByte;
    while (::write(watchPipe[1], &done, 1) < 0 && (errno == EINTR || errno == EAGAIN)) {}
    startUpWatch_.join();
}

void TerminationSignals::watchStartUp(std::chrono::milliseconds grace)
{
    const int first = nextByte(watchPipe[0], -1);
    if (first <= 0)
        return;  // start-up is done (or the pipe broke)
    // Further signals do not extend the time.
    const auto deadline = std::chrono::steady_clock::now() + grace;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int next = nextByte(watchPipe[0], static_cast<int>(std::max<long long>(0, left.count())));
        if (next == StartUpDoneByte)
            return;  // the event loop will hand on the signal
        if (next < 0)
            break;
    }
    qCWarning(lcTermination) << "ending on signal" << first << "during start-up, which has not finished:"
                             << "no file has been changed";
    std::fflush(stderr);
    ::_exit(0);
}

void TerminationSignals::readSignals()
{
    char numbers[16];
    ssize_t count;
    while ((count = ::read(signalPipe[0], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            Q_EMIT terminationRequested(numbers[i]);
    }
}

}  // namespace jabbly
