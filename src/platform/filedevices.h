#pragma once

#include <QFile>
#include <QSaveFile>
#include <functional>
#include <memory>

namespace platform {

// Makes the devices that the program's writers write through: the settings file and the item
// file are written whole (a QSaveFile), the audit reports appended to (a QFile). The program uses
// plain files; a test hands in one that fails or writes short on cue.
struct FileDevices {
    std::function<std::unique_ptr<QSaveFile>(const QString& fileName)> wholeFile =
        [](const QString& fileName) { return std::make_unique<QSaveFile>(fileName); };
    std::function<std::unique_ptr<QFile>(const QString& fileName)> appendedFile =
        [](const QString& fileName) { return std::make_unique<QFile>(fileName); };
};

}  // namespace platform
