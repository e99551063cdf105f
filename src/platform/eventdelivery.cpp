#include "platform/eventdelivery.h"

#include <QCoreApplication>

void EventDelivery::deliver() {
    if (last_.isValid() && last_.elapsed() < kIntervalMs) {
        return;
    }
    QCoreApplication::processEvents();
    last_.start();
}
