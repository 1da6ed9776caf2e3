#pragma once

// Include this header (instead of platform/ScriptedPrompts.h) in tests that use ScriptedPrompts: from
// then on, in the whole test executable, a prompt that nobody scripted fails the running test, naming
// the prompt's text. Header-only, so that any test executable can use it with nothing more than gtest.

#include "platform/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace trv::test {

inline void failTestOnUnexpectedPrompt(const QString& description) {
    ADD_FAILURE() << description.toStdString();
}

inline const bool kScriptedPromptsFailTests = [] {
    ScriptedPrompts::setDefaultUnexpectedHandler(&failTestOnUnexpectedPrompt);
    return true;
}();

} // namespace trv::test
