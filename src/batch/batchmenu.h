#pragma once

#include "batch/progressline.h"
#include "platform/eventdelivery.h"
#include "startup/progresssink.h"

// The main menu's progress as the batch command line shows it: each record's status text counts
// towards the progress line; the form's colours and pointers have nothing to show on.
class BatchMenu : public ProgressSink {
public:
    explicit BatchMenu(ProgressLine& progress) : progress_(progress) {}

    void setStatus(const QString& text) override;
    void setBackColour(const QColor&) override {}
    void restoreIdleColour() override {}
    void setBusyPointer(bool) override {}
    void setScreenBusyPointer(bool) override {}
    void yield() override;

private:
    ProgressLine& progress_;
    EventDelivery events_;
};
