#pragma once
// What a program's commands share besides the document: the program's
// profile, the prompt every message and question goes through, the settings,
// the run marks (the busy flag) and the program's folder. The window owns the
// pieces; the delivery controller and the options dialog take this.
#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "desktop/runmarks.h"
#include "desktop/settingsstore.h"

namespace logo {

struct ProgramContext {
    const ProgramProfile &profile;
    Prompt &prompt;
    SettingsStore &settings;
    RunMarks &runMarks;
    QString appFolder;      // the program folder (branding file, phonebook cache, ...), ending in a separator

    QString section() const { return profile.settingsSection; }
    QString title() const { return profile.productName; }
};

} // namespace logo
