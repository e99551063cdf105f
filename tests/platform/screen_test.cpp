#include "platform/screen.h"

#include <gtest/gtest.h>

namespace {

TEST(Screen, AWindowNeedsADisplayOrAPlatformThatKnowsWhereToDraw) {
    EXPECT_FALSE(platform::hasScreen("", "", ""));
    EXPECT_TRUE(platform::hasScreen("", ":0", ""));
    EXPECT_TRUE(platform::hasScreen("", "", "wayland-0"));
    EXPECT_TRUE(platform::hasScreen("offscreen", "", ""));
}

}  // namespace
