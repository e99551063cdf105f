#pragma once

struct ModMain;

// Opens the order details dialog modally for the current goods-received record and returns when
// it has closed; the answers come back in modMain's goods-received values.
class OrderDetailsOpener {
public:
    virtual ~OrderDetailsOpener() = default;
    virtual void openOrderDetails(ModMain& modMain) = 0;
};
