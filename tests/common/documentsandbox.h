#pragma once
// A Quillet document of a test's own: its settings in a sandbox, every
// question answered from a script.
#include "common/testsupport.h"
#include "graphic/logodocument.h"

namespace logotest {

struct QuilletDocument {
    Sandbox sb;
    logo::ScriptedPrompt prompt;
    logo::LogoDocument doc{logo::ProgramProfile::quillet(), prompt, sb.settings()};
};

} // namespace logotest
