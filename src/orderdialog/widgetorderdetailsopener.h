#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "imports/orderchooser.h"

class Prompts;
class ShopDataObject;

// Opens a fresh order details dialog modally over the main menu and, once it has closed, runs the
// menu's activation again, as the menu becoming active once more calls for.
class WidgetOrderDetailsOpener : public OrderChooser {
public:
    // `prompts` and `shop` serve every dialog it opens.
    WidgetOrderDetailsOpener(Prompts& prompts, ShopDataObject& shop, QWidget* owner,
                             std::function<void()> ownerActivated);

    OrderDetailsAnswer chooseOrder(const QString& barcode, qint32 supplierId) override;

private:
    Prompts& prompts_;
    ShopDataObject& shop_;
    QPointer<QWidget> owner_;
    std::function<void()> ownerActivated_;
};
