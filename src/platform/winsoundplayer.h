#pragma once

#include "platform/soundplayer.h"

#include <functional>

namespace lumitakt {

// Plays WAV files with Windows' own PlaySound: it returns at once, and a new
// sound cuts off the one still playing. A missing or unplayable file gives
// `bell` (the desktop's).
class WinSoundPlayer final : public SoundPlayer {
public:
    explicit WinSoundPlayer(std::function<void()> bell) : m_bell(std::move(bell)) {}
    void play(const QString &file) override;

private:
    std::function<void()> m_bell;
};

} // namespace lumitakt
