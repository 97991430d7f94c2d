#pragma once

namespace lumitakt {

// The tick synchronises during second 0 of every tenth minute.
inline bool syncDue(int minute, int second)
{
    return minute % 10 == 0 && second == 0;
}

} // namespace lumitakt
