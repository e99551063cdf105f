#include "startup/windowoptions.h"

#include <gtest/gtest.h>

#include "programfiles.h"

namespace {

using Request = WindowOptions::Request;

const QString kVersion = QStringLiteral("rmstockhand " RMSTOCKHAND_VERSION);

TEST(WindowOptions, TakesHelpVersionOrTheProgramsFolderAlone) {
    const std::optional<WindowOptions> none = parseWindowOptions({});
    ASSERT_TRUE(none);
    EXPECT_EQ(none->request, Request::Run);
    EXPECT_FALSE(none->inProgramFolder);
    const std::optional<WindowOptions> inFolder = parseWindowOptions({"--in-program-folder"});
    ASSERT_TRUE(inFolder);
    EXPECT_EQ(inFolder->request, Request::Run);
    EXPECT_TRUE(inFolder->inProgramFolder);
    EXPECT_EQ(parseWindowOptions({"--help"})->request, Request::Help);
    EXPECT_EQ(parseWindowOptions({"--version"})->request, Request::Version);
    for (const QStringList& wrong :
         std::initializer_list<QStringList>{{"--help", "--version"},
                                            {"--in-program-folder", "--help"},
                                            {"--in-program-folder", "--in-program-folder"},
                                            {"recent.mdb"},
                                            {"--bogus"},
                                            {"-h"}}) {
        EXPECT_FALSE(parseWindowOptions(wrong)) << wrong.join(' ').toStdString();
    }
    EXPECT_EQ(windowVersion(), kVersion);
}

// The window program answers --help and --version on standard output with no screen at all, says
// in one line that it has none instead of the toolkit's abort, and refuses a wrong command line
// with the usage on standard error.
TEST(WindowProgram, AnswersItsCommandLineAndSaysWhenThereIsNoScreen) {
    const QStringList noScreen{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="};
    const ProgramRun help = runProgram("rmstockhand", {"--help"}, noScreen);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output, windowUsage().toUtf8());
    EXPECT_EQ(help.errors, "");
    const ProgramRun version = runProgram("rmstockhand", {"--version"}, noScreen);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, kVersion.toUtf8() + '\n');

    const ProgramRun blind = runProgram("rmstockhand", {}, noScreen);
    EXPECT_EQ(blind.exitCode, 1);
    EXPECT_EQ(blind.output, "");
    EXPECT_EQ(blind.errors, noScreenMessage().toUtf8() + '\n');
    EXPECT_TRUE(blind.errors.contains("xvfb-run -a rmstockhand"));

    // The tests run offscreen: the toolkit starts, and the command line is read after it took its own.
    const ProgramRun wrong = runProgram("rmstockhand", {"-platform", "offscreen", "--bogus"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.output, "");
    EXPECT_TRUE(wrong.errors.endsWith(windowUsage().toUtf8())) << wrong.errors.data();
    const ProgramRun late = runProgram("rmstockhand", {"-platform", "offscreen", "--version"}, noScreen);
    EXPECT_EQ(late.exitCode, 0);
    EXPECT_EQ(late.output, kVersion.toUtf8() + '\n');
}

}  // namespace
