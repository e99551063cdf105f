#include "batch/batchorderdetails.h"

#include <QList>

#include "imports/orderdetailsrules.h"
#include "outside/shopdataobject.h"
#include "platform/prompts.h"

namespace {

// The answers the options give to the dialog's questions, in the order it asks them; every text
// is shown as the batch shows its messages, the questions too.
class OptionAnswers : public Prompts {
public:
    OptionAnswers(Prompts& shown, QList<bool> answers) : shown_(shown), answers_(std::move(answers)) {}

    void notice(const QString& text) override { shown_.notice(text); }
    void criticalNotice(const QString& text) override { shown_.criticalNotice(text); }
    bool question(const QString& text) override {
        shown_.notice(text);
        return !answers_.isEmpty() && answers_.takeFirst();
    }
    QString openFileName(const QString& fileName, const QString& filter, const QString& title) override {
        return shown_.openFileName(fileName, filter, title);
    }
    QString saveFileName(const QString& fileName, const QString& filter, const QString& title) override {
        return shown_.saveFileName(fileName, filter, title);
    }

private:
    Prompts& shown_;
    QList<bool> answers_;
};

// The supplier list's entry of a supplier id, or nothing when the list has none.
QString entryOf(const QStringList& entries, qint32 supplierId) {
    for (const QString& entry : entries) {
        if (OrderDetailsRules::supplierIdText(entry).trimmed() == QString::number(supplierId)) {
            return entry;
        }
    }
    return QString();
}

}  // namespace

QString unknownSupplierText(ShopDataObject& shop, qint32 supplierId) {
    const QStringList entries = shop.supplierEntries();
    if (!entryOf(entries, supplierId).isEmpty()) {
        return QString();
    }
    return QStringLiteral("Supplier %1 is not in the list of suppliers: %2")
        .arg(supplierId)
        .arg(entries.isEmpty() ? QStringLiteral("the list is empty") : entries.join(QStringLiteral("; ")));
}

OrderDetailsAnswer BatchOrderDetails::chooseOrder(const QString&, qint32 supplierId) {
    // The supplier's confirmation, then the apply-to-all question.
    OptionAnswers answers(prompts_, {true, applyToAll_});
    OrderDetailsRules dialog(answers, supplierId);
    const QStringList entries = shop_.supplierEntries();
    dialog.activate(entries);
    if (!supplierId_) {
        return dialog.answer();
    }
    const QString entry = entryOf(entries, *supplierId_);
    if (entry.isEmpty()) {
        // Nobody can pick a supplier the list does not hold, nor then press OK.
        prompts_.notice(QStringLiteral("Supplier-%1 is not in the list of suppliers").arg(*supplierId_));
        return dialog.answer();
    }
    dialog.pickSupplier(entry, [] {});
    if (orderNo_ && dialog.okEnabled()) {
        dialog.pressOk(*orderNo_);
    }
    return dialog.answer();
}
