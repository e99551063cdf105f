#pragma once

#include "batch/progressline.h"
#include "platform/eventdelivery.h"
#include "startup/menuview.h"

// The main menu as the batch command line plays it: the port and the path are what the menu's
// activation would show, the overwrite box is ticked as when the menu opens, and each record's
// status text counts towards the progress line.
class BatchMenu : public MenuView {
public:
    BatchMenu(bool comm1, QString path, ProgressLine& progress)
        : comm1_(comm1), path_(std::move(path)), progress_(progress) {}

    bool comm1Selected() const override { return comm1_; }
    bool overwriteTicked() const override { return true; }
    QString downloadPath() const override { return path_; }
    void setDownloadPath(const QString& path) override { path_ = path; }
    void setStatus(const QString& text) override;
    void setBackColour(const QColor&) override {}
    void restoreIdleColour() override {}
    void setBusyPointer(bool) override {}
    void setScreenBusyPointer(bool) override {}
    void yield() override;

private:
    bool comm1_;
    QString path_;
    ProgressLine& progress_;
    EventDelivery events_;
};
