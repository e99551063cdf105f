#pragma once

#include <QFile>
#include <QSaveFile>
#include <memory>

#include "platform/filedevices.h"

// When a faulty device fails: on its Nth write, counted from 1, either outright or after putting
// the first half of the bytes down, as a disk that fills part of the way through a write: the
// write comes back short, and the system gives no reason.
struct WriteFault {
    int failingWrite = 1;
    bool writesHalf = false;
};

// A file device that writes as its kind does until the fault's write, which fails.
template <typename Device>
class FaultyDevice : public Device {
public:
    FaultyDevice(const QString& fileName, WriteFault fault) : Device(fileName), fault_(fault) {}

protected:
    qint64 writeData(const char* data, qint64 size) override {
        if (++writes_ < fault_.failingWrite) {
            return Device::writeData(data, size);
        }
        return fault_.writesHalf ? Device::writeData(data, size / 2) : 0;
    }

private:
    WriteFault fault_;
    int writes_ = 0;
};

// Devices for the program's writers in which every write fails as `fault` says.
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
