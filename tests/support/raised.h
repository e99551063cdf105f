#pragma once

#include <functional>

#include "platform/programerror.h"

// The error that a call raised; number 0 when it raised none.
inline ProgramError raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const ProgramError& error) {
        return error;
    }
    return ProgramError(0, QStringLiteral("nothing raised"));
}
