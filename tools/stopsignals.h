#pragma once

#include <chrono>
#include <csignal>

// SIGTERM and SIGINT as a request to stop: instead of ending the program they wait on a
// descriptor, which the program watches beside the line. They stay held back until the program
// ends, so that a second one cannot cut its tidying up short.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable once a stop signal has come.
    int descriptor() const { return fd_; }
    // Takes a stop signal that waits on the descriptor.
    void collect();
    bool requested() const { return requested_; }
    // Sleeps for `duration`, or until a stop signal comes.
    void sleep(std::chrono::milliseconds duration);

private:
    sigset_t mask_;
    int fd_ = -1;
    bool requested_ = false;
};
