#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "fakemenuview.h"
#include "mocks.h"
#include "scanner/shellandwait.h"
#include "scriptedprompts.h"
#include "standinutility.h"
#include "startup/modmain.h"

namespace {

TEST(ShowMode, GivesTheWindowsShowCode) {
    // Maximised counts only with focus and without minimised.
    const struct {
        bool minimised, maximised, focus;
        int code;
    } table[] = {{false, false, true, 1}, {false, true, true, 3},   {true, false, true, 2},
                 {true, true, true, 2},   {false, false, false, 4}, {false, true, false, 4},
                 {true, false, false, 6}, {true, true, false, 6}};
    for (const auto& row : table) {
        EXPECT_EQ(fShowMode(row.minimised, row.maximised, row.focus), row.code)
            << row.minimised << row.maximised << row.focus;
    }
}

// A menu whose event delivery really delivers, as the form's does.
class LiveMenuView : public FakeMenuView {
public:
    void yield() override {
        FakeMenuView::yield();
        QCoreApplication::processEvents();
    }
};

class ShellAndWaitTest : public testing::Test {
protected:
    ShellAndWaitTest() : modMain(prompts, tools, shop, folder.path()) { modMain.menu = &menu; }
    bool shell(bool waitFirst) {
        wait = waitFirst;
        return fShellAndWait(modMain, "util.exe", "a  b", wait, false, true, true);
    }
    QByteArray read(const QString& name) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<none>";
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    MockStringTools tools;
    MockShopData shop;
    LiveMenuView menu;
    ModMain modMain;
    bool wait = true;
};

TEST_F(ShellAndWaitTest, ReportsAProgramThatCannotStartAndDoesNotWait) {
    EXPECT_FALSE(shell(true));
    writeStandIn(folder.path(), "util.exe", "exit 0", false);
    EXPECT_FALSE(shell(true));
    EXPECT_FALSE(shell(false));
    EXPECT_FALSE(wait);
    EXPECT_EQ(prompts.shown,
              QStringList({"Error in Shell=53-File not found", "Error in Shell=70-Permission denied",
                           "Error in Shell=70-Permission denied"}));
    EXPECT_EQ(menu.yields, 0);
}

TEST_F(ShellAndWaitTest, WaitsForTheEndWhileTheMenuStaysLiveAndIgnoresTheExitCode) {
    writeStandIn(folder.path(), "util.exe",
                 "printf '%s\\n' \"$@\" > argv; sleep 0.4; echo done > end; exit 3");
    QObject context;
    bool busyWhenTimerFired = false;
    QTimer::singleShot(100, &context, [&] { busyWhenTimerFired = menu.screenBusyPointer; });
    EXPECT_TRUE(shell(true));
    EXPECT_EQ(read("end"), "done\n");  // waited for, in its own folder
    EXPECT_EQ(read("argv"), "a\nb\n");
    EXPECT_TRUE(busyWhenTimerFired);
    EXPECT_FALSE(menu.screenBusyPointer);
    EXPECT_GT(menu.yields, 3);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

}  // namespace
