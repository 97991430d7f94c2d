#pragma once

#include <QString>

namespace lumitakt {

// Plays a sound file without waiting; a new start cuts off a sound that is
// still playing. A file that cannot be played gives the desktop's bell.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &file) = 0;
};

} // namespace lumitakt
