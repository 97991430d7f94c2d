#pragma once

#include "platform/soundplayer.h"

namespace lumitakt {

// Plays WAV files with Windows' own PlaySound: it returns at once, and a new
// sound cuts off the one still playing. A missing or unplayable file gives
// the bell.
class WinSoundPlayer final : public SoundPlayer {
public:
    void play(const QString &file) override;
};

} // namespace lumitakt
