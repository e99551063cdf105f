#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "imports/orderdetailsopener.h"

// Opens a fresh order details dialog modally over the main menu and, once it has closed, runs the
// menu's activation again, as the menu becoming active once more calls for.
class WidgetOrderDetailsOpener : public OrderDetailsOpener {
public:
    WidgetOrderDetailsOpener(QWidget* owner, std::function<void()> ownerActivated);

    void openOrderDetails(ModMain& modMain) override;

private:
    QPointer<QWidget> owner_;
    std::function<void()> ownerActivated_;
};
