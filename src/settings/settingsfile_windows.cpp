#include "settings/settingsfile.h"

namespace lumitakt {

// Windows keeps a user's settings in the user's profile, where the system's
// own access rules decide.
QString settingsWriteRefusal(const QString &)
{
    return {};
}

} // namespace lumitakt
