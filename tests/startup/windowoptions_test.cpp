#include "startup/windowoptions.h"

#include <gtest/gtest.h>

#include "programfiles.h"

namespace {

const QString kVersion = QStringLiteral("rmstockhand " RMSTOCKHAND_VERSION);

// The program's folder is asked for alone, as are --help and --version.
TEST(WindowOptions, TakesHelpVersionOrTheProgramsFolderAlone) {
    const auto outcome = [](const QStringList& arguments) {
        const std::optional<WindowOptions> options = parseWindowOptions(arguments);
        const char* const requests[] = {"run", "help", "version"};
        return !options ? QString("wrong")
                        : requests[int(options->request)] + QString(options->inProgramFolder ? " there" : "");
    };
    // clang-format off
    const std::pair<QStringList, const char*> cases[] = {
        {{}, "run"}, {{"--in-program-folder"}, "run there"}, {{"--help"}, "help"}, {{"--version"}, "version"},
        {{"--help", "--version"}, "wrong"}, {{"--in-program-folder", "--help"}, "wrong"},
        {{"--in-program-folder", "--in-program-folder"}, "wrong"}, {{"recent.mdb"}, "wrong"}, {{"-h"}, "wrong"}};
    // clang-format on
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(outcome(arguments), expected) << arguments.join(' ').toStdString();
    }
}

// The window program answers --help and --version on standard output with no screen at all, says
// in one line that it has none instead of the toolkit's abort, and refuses a wrong command line
// with the usage on standard error.
TEST(WindowProgram, AnswersItsCommandLineAndSaysWhenThereIsNoScreen) {
    const QStringList noScreen{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="};
    const ProgramRun help = runProgram("rmstockhand", {"--help"}, noScreen);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output, windowUsage().toUtf8());
    const ProgramRun version = runProgram("rmstockhand", {"--version"}, noScreen);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, kVersion.toUtf8() + '\n');

    const ProgramRun blind = runProgram("rmstockhand", {}, noScreen);
    EXPECT_EQ(blind.exitCode, 1);
    EXPECT_EQ(blind.errors, noScreenMessage().toUtf8() + '\n');
    EXPECT_TRUE(blind.errors.contains("xvfb-run -a rmstockhand"));

    // The toolkit's own -platform gives it a screen, and the command line is read after it took its own.
    const ProgramRun wrong = runProgram("rmstockhand", {"-platform", "offscreen", "--bogus"}, noScreen);
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.output, "");
    EXPECT_TRUE(wrong.errors.endsWith(windowUsage().toUtf8())) << wrong.errors.data();
}

}  // namespace
