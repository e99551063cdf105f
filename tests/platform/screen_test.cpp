#include "platform/screen.h"

#include <gtest/gtest.h>

#include "scopedvariable.h"

namespace {

TEST(Screen, AWindowNeedsADisplayOrAPlatformThatKnowsWhereToDraw) {
    EXPECT_FALSE(platform::hasScreen("", "", ""));
    EXPECT_TRUE(platform::hasScreen("", ":0", ""));
    EXPECT_TRUE(platform::hasScreen("", "", "wayland-0"));
    EXPECT_TRUE(platform::hasScreen("offscreen", "", ""));
    // The command line's -platform chooses the platform as the toolkit reads it, before QT_QPA_PLATFORM.
    const ScopedVariable qpaPlatform("QT_QPA_PLATFORM");
    const ScopedVariable display("DISPLAY");
    ScopedVariable wayland("WAYLAND_DISPLAY");
    EXPECT_FALSE(platform::hasScreen(QStringList{}));
    EXPECT_FALSE(platform::hasScreen(QStringList{"--in-program-folder", "-platform"}));
    EXPECT_TRUE(platform::hasScreen(QStringList{"-platform", "offscreen"}));
    EXPECT_TRUE(platform::hasScreen(QStringList{"--platform", "offscreen", "--in-program-folder"}));
    wayland.set("wayland-1");
    EXPECT_TRUE(platform::hasScreen(QStringList{}));
}

}  // namespace
