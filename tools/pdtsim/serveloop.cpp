#include "serveloop.h"

#include <algorithm>
#include <chrono>
#include <iostream>

#include "lineend.h"
#include "scannerstation.h"
#include "stopsignals.h"
#include "wirepace.h"

namespace {

using Clock = std::chrono::steady_clock;
using fileprotocol::Millis;
using Nanos = std::chrono::nanoseconds;
using namespace std::chrono_literals;

// How often a line nobody has open is looked at again.
constexpr Millis kHungUpPause = 20ms;
// The longest wait with nothing due, so that the loop looks up now and then.
constexpr Nanos kLongestWait = 1s;

void say(const QString& line) {
    std::cout << "pdt-sim: " << line.toStdString() << std::endl;
}

Millis millis(Nanos time) {
    return std::chrono::duration_cast<Millis>(time);
}

// One run of `serve`: moves the bytes between the line and the station, through the wire's pace
// and the faults, and lets the station's time pass.
class ServeLoop {
public:
    ServeLoop(const ServeOptions& options, StopSignals& stops)
        : stops_(stops),
          line_(options.device, options.link),
          station_(options.rules, options.offerAfter, say),
          faults_(options.fault, options.rules),
          pace_(options.paceBaud),
          faultRecord_(options.fault.record),
          start_(Clock::now()) {}

    void run();

private:
    Nanos now() const { return Clock::now() - start_; }
    Millis timeout(Nanos now) const;
    bool lineDown(const LineEnd::State& state, Nanos now);
    bool deliverArrived(Nanos now);
    bool sendDue(Nanos now);
    bool follow(FaultStep step, Nanos now);

    StopSignals& stops_;
    LineEnd line_;
    ScannerStation station_;
    LineFaults faults_;
    WirePace pace_;
    int faultRecord_;
    Clock::time_point start_;
    bool connected_ = false;
};

void ServeLoop::run() {
    say(QStringLiteral("the scanner is on %1").arg(line_.name()));
    while (!stops_.requested()) {
        const LineEnd::State state = line_.wait(timeout(now()), stops_.descriptor());
        if (state.woken) {
            stops_.collect();
            continue;
        }
        const Nanos now = this->now();
        if (state.hungUp) {
            if (connected_ && !lineDown(state, now)) {
                return;
            }
            stops_.sleep(kHungUpPause);
            continue;
        }
        if (!connected_) {
            connected_ = true;
            station_.lineConnected(millis(now));
        }
        if (state.readable) {
            pace_.queueIncoming(line_.read(), now);
        }
        if (!deliverArrived(now)) {
            return;
        }
        if (millis(now) >= station_.deadline()) {
            station_.tick(millis(now));
        }
        if (!sendDue(now)) {
            return;
        }
    }
}

// The wait until the station's deadline or the next byte the wire's pace lets through; none while
// the line is down, whose state is looked at each time the pause after a hangup is over.
// It is rounded up to whole milliseconds, so that nothing is done early.
Millis ServeLoop::timeout(Nanos now) const {
    if (!connected_) {
        return Millis(0);
    }
    Nanos until = std::min(now + kLongestWait, pace_.nextMoment());
    if (station_.deadline() < millis(until)) {
        until = station_.deadline();
    }
    return std::chrono::ceil<Millis>(std::max(until - now, Nanos(0)));
}

// The PC's program closed the line: what it sent last still counts (often the answer to the last
// block), but nothing more goes out.
bool ServeLoop::lineDown(const LineEnd::State& state, Nanos now) {
    connected_ = false;
    if (state.readable) {
        pace_.queueIncoming(line_.read(), now);
    }
    const bool goesOn = deliverArrived(now);
    station_.lineLost();
    faults_.lineLost();
    pace_.clear();
    return goesOn;
}

bool ServeLoop::deliverArrived(Nanos now) {
    const QByteArray arrived = pace_.takeIncoming(now);
    if (arrived.isEmpty()) {
        return true;
    }
    const FaultPassage passage = faults_.fromLine(arrived, station_.role());
    if (!passage.bytes.isEmpty()) {
        station_.received(passage.bytes, millis(now));
    }
    return follow(passage.step, now);
}

bool ServeLoop::sendDue(Nanos now) {
    const QByteArray output = station_.takeOutput();
    if (!output.isEmpty()) {
        const FaultPassage passage = faults_.toLine(output, station_.role());
        pace_.queueOutgoing(passage.bytes, now);
        if (!follow(passage.step, now)) {
            return false;
        }
    }
    if (connected_) {
        line_.write(pace_.takeOutgoing(now));
    }
    return true;
}

// Carries out what a fault asks for; false when it pulled the cable.
bool ServeLoop::follow(FaultStep step, Nanos now) {
    switch (step) {
        case FaultStep::Cancel:
            say(QStringLiteral("giving the transfer up with EOT at record %1").arg(faultRecord_));
            station_.cancel(millis(now));
            return sendDue(now);
        case FaultStep::HangUp:
            say(QStringLiteral("pulling the cable at record %1").arg(faultRecord_));
            return false;
        case FaultStep::None:
            return true;
    }
    return true;
}

}  // namespace

void serve(const ServeOptions& options) {
    StopSignals stops;
    ServeLoop(options, stops).run();
}
