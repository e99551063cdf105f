#pragma once

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <memory>

#include "platform/filedevices.h"

// How much a faulty device's disk has room for: the writes put their bytes down until it is full,
// and the write that fills it comes back short, as a full disk's does, with no reason given.
struct WriteFault {
    qint64 room = 0;
};

// A file device that writes as its kind does until its disk is full.
template <typename Device>
class FaultyDevice : public Device {
public:
    FaultyDevice(const QString& fileName, WriteFault fault) : Device(fileName), fault_(fault) {}

protected:
    qint64 writeData(const char* data, qint64 size) override {
        const qint64 fits = std::min(size, fault_.room - written_);
        const qint64 written = fits > 0 ? Device::writeData(data, fits) : 0;
        written_ += std::max<qint64>(written, 0);
        return written;
    }

private:
    WriteFault fault_;
    qint64 written_ = 0;
};

// Devices for the program's writers, each on a disk with the fault's room.
inline platform::FileDevices faultyDevices(WriteFault fault) {
    platform::FileDevices devices;
    devices.wholeFile = [fault](const QString& fileName) {
        return std::make_unique<FaultyDevice<QSaveFile>>(fileName, fault);
    };
    devices.appendedFile = [fault](const QString& fileName) {
        return std::make_unique<FaultyDevice<QFile>>(fileName, fault);
    };
    return devices;
}
