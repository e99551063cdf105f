#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <optional>

#include "fakemenuview.h"
#include "mocks.h"
#include "scriptedprompts.h"
#include "startup/modmain.h"
#include "stringtools/stringtools.h"

// The order details dialog as if the user picked supplier 7 and pressed OK with `orderNo` and Yes
// or No to "apply to all", or closed it without OK (no `orderNo`).
class FakeOrderDetails : public OrderDetailsOpener {
public:
    explicit FakeOrderDetails(QStringList& calls) : calls_(calls) {}
    void openOrderDetails(ModMain& modMain) override;

    std::optional<QString> orderNo;
    bool applyToAll = false;

private:
    QStringList& calls_;
};

// A modMain over a temporary program folder with a working Split, scripted prompts, a fake menu
// and the clock at 2:45 pm on 4 December 2026. The shop answers as the test sets it and records
// every call (and each opening of the dialog) in `calls`.
class ImportTest : public testing::Test {
protected:
    ImportTest();

    QString writeFile(const QString& name, const QByteArray& content) const;
    QByteArray readFile(const QString& name) const;
    // Splits `line` as the processing does and hands it to `loader`.
    void load(void (*loader)(ModMain&, TextArray&), const char* line);
    // Checks the calls ("; " between them), the report's one line for `audit` (or no report) and
    // the boxes shown: the audit warning, then the error box `error` if any.
    void expectResult(const char* expectedCalls, const QString& report, const char* audit,
                      const QString& error);

    static constexpr const char* kWarning =
        "You have scanned a barcode(s) that does not exist in RetailManager, refer to AuditFile for details";

    QTemporaryDir dir;
    QStringList calls;
    ScriptedPrompts prompts;
    StringTools tools;
    testing::NiceMock<MockShopData> shop;
    FakeMenuView menu;
    FakeOrderDetails orderDetails{calls};
    ModMain modMain{prompts, tools, shop, dir.path()};

    double factor = 1;
    bool matches = true;
    bool writes = true;
    qint32 found = 1;
};
