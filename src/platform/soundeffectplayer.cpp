#include "platform/soundeffectplayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>

namespace lumitakt {

SoundEffectPlayer::SoundEffectPlayer(QObject *parent) : QObject(parent) {}

void SoundEffectPlayer::play(const QString &file)
{
    if (!QFileInfo(file).isFile()) {
        QApplication::beep();
        return;
    }
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, &SoundEffectPlayer::onStatusChanged);
    }
    const QUrl url = QUrl::fromLocalFile(file);
    if (m_effect->source() != url) {
        // Loading is asynchronous; the sound starts once it is ready.
        m_pending = true;
        m_effect->setSource(url);
        return;
    }
    switch (m_effect->status()) {
    case QSoundEffect::Ready:
        m_effect->stop(); // a new start cuts off the sound still playing
        m_effect->play();
        break;
    case QSoundEffect::Error:
        QApplication::beep();
        break;
    default:
        m_pending = true;
        break;
    }
}

void SoundEffectPlayer::onStatusChanged()
{
    if (!m_pending)
        return;
    if (m_effect->status() == QSoundEffect::Ready) {
        m_pending = false;
        m_effect->play();
    } else if (m_effect->status() == QSoundEffect::Error) {
        m_pending = false;
        QApplication::beep();
    }
}

} // namespace lumitakt
