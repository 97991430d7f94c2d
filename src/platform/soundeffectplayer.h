#pragma once

#include "platform/soundplayer.h"

#include <QObject>
#include <QUrl>

class QSoundEffect;

namespace lumitakt {

// Plays WAV files through Qt Multimedia. The effect is created on the first
// sound, so a clock that never rings never loads the audio stack.
class SoundEffectPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit SoundEffectPlayer(QObject *parent = nullptr);
    void play(const QString &file) override;

private:
    void onStatusChanged();

    QSoundEffect *m_effect = nullptr;
    bool m_pending = false;
};

} // namespace lumitakt
