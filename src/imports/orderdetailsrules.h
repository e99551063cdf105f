#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "startup/goodssession.h"

class Prompts;

// The order details dialog's rules, apart from its widgets: which supplier activation offers and
// what it sets, what picking a supplier asks and sets, when OK may be pressed, and what OK accepts
// and hands back. The dialog follows them with its controls and the user's answers; the batch
// command line follows them with the answers its options give, so both give the same answer.
class OrderDetailsRules {
public:
    // What pressing OK came to.
    enum class Ok {
        // The order number was blank: the dialog stays open with it selected for retyping.
        Blank,
        // The order number was not a number: the dialog stays open with it emptied.
        NotNumeric,
        // The order number and the apply-to-all answer were handed back: the dialog closes.
        Accepted,
    };

    // The rules from the supplier settled so far; questions and messages go to `prompts`.
    OrderDetailsRules(Prompts& prompts, qint32 supplierId)
        : prompts_(prompts), startingSupplier_(supplierId) {}

    // Activation with the suppliers as the list holds them: the text the list shows first (the
    // second entry, trimmed; empty with fewer than two), and the supplier settled from it when
    // there is one. OK starts disabled.
    QString activate(const QStringList& supplierEntries);
    // The user picks `picked` from the supplier list: the supplier from it, and the confirmation
    // asked. On Yes the supplier's orders are listed by `listOrders`, the supplier is settled from
    // the pick and OK is enabled; on No, OK is disabled and the user told to pick again. True on Yes.
    bool pickSupplier(const QString& picked, const std::function<void()>& listOrders);
    // A double-click on the orders list enables OK, whatever the answer to its question.
    void enableOk() { okEnabled_ = true; }
    bool okEnabled() const { return okEnabled_; }
    // OK pressed with the order number as typed: a blank or non-numeric one is refused with its
    // message; an accepted one is handed back with the answer to the apply-to-all question.
    Ok pressOk(const QString& orderNo);

    // The supplier settled so far, the dialog's own or the one it started from.
    qint32 supplierId() const { return answer_.supplierId.value_or(startingSupplier_); }
    // What the dialog hands back when it closes.
    const OrderDetailsAnswer& answer() const { return answer_; }

    // The supplier id part of a supplier entry such as "12 - Acme": the text before " - ".
    static QString supplierIdText(const QString& entry);
    // The row of the orders list made current when `count` orders are listed: the second, or
    // none (-1) with fewer than two.
    static int currentOrderRow(int count) { return count >= 2 ? 1 : -1; }
    // The tooltip of the disabled OK, and the message of a supplier not confirmed.
    static QString chooseSupplierText();

private:
    Prompts& prompts_;
    qint32 startingSupplier_;
    OrderDetailsAnswer answer_;
    bool okEnabled_ = false;
};
