#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "programfiles.h"

// Runs rmstockhand-batch as a schedule would and checks the exit status it leaves and, when given,
// the whole of what it wrote to standard error.
inline ProgramRun batch(const QStringList& arguments, int exitCode = 0,
                        const std::optional<QByteArray>& errors = std::nullopt,
                        const QStringList& variables = {}) {
    const ProgramRun run = runProgram("rmstockhand-batch", arguments, variables);
    EXPECT_EQ(run.exitCode, exitCode) << arguments.join(' ').toStdString() << ": " << run.errors.data();
    if (errors) {
        EXPECT_EQ(run.errors, *errors) << arguments.join(' ').toStdString();
    }
    return run;
}
