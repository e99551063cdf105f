#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "fakemenuview.h"
#include "mocks.h"
#include "scanner/shellandwait.h"
#include "scriptedprompts.h"
#include "standinutility.h"
#include "startup/modmain.h"

namespace {

struct ShowModeCase {
    bool minimised, maximised, focus;
    int expected;
};

class ShowModeTest : public testing::TestWithParam<ShowModeCase> {};

TEST_P(ShowModeTest, GivesTheWindowsShowCode) {
    const ShowModeCase& c = GetParam();
    EXPECT_EQ(fShowMode(c.minimised, c.maximised, c.focus), c.expected);
}

// Maximised counts only with focus and without minimised.
INSTANTIATE_TEST_SUITE_P(
    AllFlags, ShowModeTest,
    testing::Values(ShowModeCase{false, false, true, 1}, ShowModeCase{false, true, true, 3},
                    ShowModeCase{true, false, true, 2}, ShowModeCase{true, true, true, 2},
                    ShowModeCase{false, false, false, 4}, ShowModeCase{false, true, false, 4},
                    ShowModeCase{true, false, false, 6}, ShowModeCase{true, true, false, 6}));

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

    bool shell(bool& wait) {
        return fShellAndWait(modMain, QStringLiteral("util.exe"), QStringLiteral("a  b"), wait, false, true,
                             true);
    }
    bool exists(const char* name) const { return QFile::exists(folder.filePath(QLatin1String(name))); }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    MockStringTools tools;
    MockShopData shop;
    LiveMenuView menu;
    ModMain modMain;
};

TEST_F(ShellAndWaitTest, ReportsAProgramThatCannotStartAndDoesNotWait) {
    const struct {
        bool present;
        const char* message;
    } cases[] = {{false, "Error in Shell=53-File not found"}, {true, "Error in Shell=70-Permission denied"}};
    for (const auto& c : cases) {
        if (c.present) {
            writeStandIn(folder.path(), QStringLiteral("util.exe"), "exit 0", false);
        }
        prompts.shown.clear();
        bool wait = true;
        EXPECT_FALSE(shell(wait));
        EXPECT_EQ(prompts.shown, QStringList{QLatin1String(c.message)});
        EXPECT_EQ(menu.yields, 0);
    }
}

TEST_F(ShellAndWaitTest, WaitsForTheEndWhileTheMenuStaysLiveAndIgnoresTheExitCode) {
    writeStandIn(folder.path(), QStringLiteral("util.exe"),
                 "printf '%s\\n' \"$@\" > argv; sleep 0.4; touch done; exit 3");
    bool timerFired = false;
    bool busyMeanwhile = false;
    QObject context;
    QTimer::singleShot(100, &context, [&] {
        timerFired = true;
        busyMeanwhile = menu.screenBusyPointer;
    });
    bool wait = true;
    EXPECT_TRUE(shell(wait));
    EXPECT_TRUE(exists("done"));  // run from its own folder, and waited for
    QFile argv(folder.filePath(QStringLiteral("argv")));
    ASSERT_TRUE(argv.open(QIODevice::ReadOnly));
    EXPECT_EQ(argv.readAll(), "a\nb\n");
    EXPECT_TRUE(timerFired);
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(menu.screenBusyPointer);
    EXPECT_GT(menu.yields, 3);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ShellAndWaitTest, WithoutWaitReturnsAtOnceAndTellsWhetherItStarted) {
    writeStandIn(folder.path(), QStringLiteral("util.exe"), "sleep 0.2; touch done");
    bool wait = false;
    EXPECT_TRUE(shell(wait));
    EXPECT_TRUE(wait);
    EXPECT_FALSE(exists("done"));
    EXPECT_EQ(menu.yields, 0);
    const QDeadlineTimer deadline(10000);
    while (!exists("done") && !deadline.hasExpired()) {
        QThread::msleep(20);
    }
    EXPECT_TRUE(exists("done"));

    QFile::remove(folder.filePath(QStringLiteral("util.exe")));
    wait = false;
    EXPECT_FALSE(shell(wait));
    EXPECT_FALSE(wait);
}

}  // namespace
