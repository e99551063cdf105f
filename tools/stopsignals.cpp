#include "stopsignals.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <cerrno>

#include "systemerror.h"

StopSignals::StopSignals() {
    sigemptyset(&mask_);
    sigaddset(&mask_, SIGTERM);
    sigaddset(&mask_, SIGINT);
    if (sigprocmask(SIG_BLOCK, &mask_, nullptr) != 0) {
        failWithSystemError(QStringLiteral("cannot hold the stop signals"));
    }
    fd_ = signalfd(-1, &mask_, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) {
        failWithSystemError(QStringLiteral("cannot watch for the stop signals"));
    }
}

StopSignals::~StopSignals() {
    ::close(fd_);
}

void StopSignals::collect() {
    signalfd_siginfo signal{};
    if (::read(fd_, &signal, sizeof signal) == static_cast<ssize_t>(sizeof signal)) {
        requested_ = true;
    } else if (errno != EAGAIN && errno != EINTR) {
        failWithSystemError(QStringLiteral("cannot read the stop signals"));
    }
}

void StopSignals::sleep(std::chrono::milliseconds duration) {
    pollfd polled{fd_, POLLIN, 0};
    const int ready = ::poll(&polled, 1, static_cast<int>(duration.count()));
    if (ready < 0 && errno != EINTR) {
        failWithSystemError(QStringLiteral("cannot sleep"));
    }
    if (ready > 0) {
        collect();
    }
}
