#include "platform/pulsesoundplayer.h"

#include "files/trustedfiles.h"
#include "logging.h"

#include <QFile>

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <sndfile.h>
#include <unistd.h>

#include <cstring>

namespace lumitakt {

namespace {

// How long the connection stays open after the last sound has ended: an
// alarm that repeats twice a second keeps it, an idle clock gives it up.
constexpr int kLingerMs = 5000;
// The longest sound played (ten minutes of stereo at 48 kHz); a larger
// file is not loaded into memory.
constexpr sf_count_t kMaxSamples = 48000LL * 2 * 600;

// The file's sound, or nothing when it cannot be read.
std::shared_ptr<const PulseSoundPlayer::Sound> readSound(const QString &file)
{
    // A pipe put in the sound's place must not stop the clock, and a sound
    // another user could have put there is not parsed.
    const int fd = openForReading(file, Reading::Trusted);
    if (fd < 0)
        return nullptr;
    SF_INFO info{};
    SNDFILE *handle = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!handle) {
        ::close(fd);
        return nullptr;
    }
    auto sound = std::make_shared<PulseSoundPlayer::Sound>();
    if (info.channels > 0 && info.channels <= static_cast<int>(PA_CHANNELS_MAX) && info.samplerate > 0
        && static_cast<unsigned>(info.samplerate) <= PA_RATE_MAX && info.frames > 0
        && info.frames <= kMaxSamples / info.channels) {
        sound->rate = info.samplerate;
        sound->channels = info.channels;
        sound->samples.resize(static_cast<std::size_t>(info.frames * info.channels));
        const sf_count_t frames = sf_readf_short(handle, sound->samples.data(), info.frames);
        sound->samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(frames, 0) * info.channels));
    }
    sf_close(handle);
    ::close(fd);
    if (sound->samples.empty())
        return nullptr;
    return sound;
}

// Why the sound server must not be asked for, or nothing. The client library
// reads its configuration from the folders HOME and the XDG variables name
// (which server to talk to, which cookie file to read or make, as whoever
// runs the clock): root with a user's HOME, or a HOME others can change,
// would let someone else choose them.
QByteArray serverRefusal()
{
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const QByteArray folder = qgetenv(variable);
        if (folder.isEmpty() && std::strcmp(variable, "HOME") != 0)
            continue;
        if (const QString why = untrustedBecause(QFile::decodeName(folder)); !why.isEmpty())
            return "is not played through the sound server, since " + QByteArray(variable) + " is not this user's alone ("
                   + why.toUtf8() + ")";
    }
    return {};
}

} // namespace

PulseSoundPlayer::PulseSoundPlayer(std::function<void()> bell, QObject *parent)
    : QObject(parent), m_bell(std::move(bell))
{
    m_linger.setSingleShot(true);
    m_linger.setInterval(kLingerMs);
    connect(&m_linger, &QTimer::timeout, this, &PulseSoundPlayer::disconnectFromServer);
}

void PulseSoundPlayer::ringBell(const QByteArray &why)
{
    qCWarning(lcSound).nospace() << "The alarm sound " << why.constData() << "; the bell rings instead.";
    m_bell();
}

PulseSoundPlayer::~PulseSoundPlayer()
{
    disconnectFromServer();
}

void PulseSoundPlayer::play(const QString &file)
{
    if (file != m_readFrom || !m_read) {
        m_read = readSound(file);
        m_readFrom = file;
    }
    const std::shared_ptr<const Sound> sound = m_read;
    if (!sound) {
        ringBell("cannot be read from " + file.toUtf8());
        return;
    }
    m_linger.stop();
    // A server that has gone away since the last sound is connected anew.
    if (m_loop) {
        pa_threaded_mainloop_lock(m_loop);
        const bool good = PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
        pa_threaded_mainloop_unlock(m_loop);
        if (!good)
            disconnectFromServer();
    }
    if (!m_loop) {
        if (const QByteArray why = serverRefusal(); !why.isEmpty()) {
            ringBell(why);
            return;
        }
        if (!connectToServer()) {
            ringBell("finds no sound server");
            return;
        }
    }
    pa_threaded_mainloop_lock(m_loop);
    m_pending = sound;
    if (pa_context_get_state(m_context) == PA_CONTEXT_READY)
        startStream();
    pa_threaded_mainloop_unlock(m_loop);
}

bool PulseSoundPlayer::connectToServer()
{
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Lumitakt");
    if (m_context) {
        pa_context_set_state_callback(m_context, &PulseSoundPlayer::onContextState, this);
        // Never start a server of our own: no server, no sound.
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 && pa_threaded_mainloop_start(m_loop) >= 0)
            return true;
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
    return false;
}

void PulseSoundPlayer::disconnectFromServer()
{
    if (!m_loop)
        return;
    m_linger.stop();
    pa_threaded_mainloop_lock(m_loop);
    dropStream();
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
    m_pending.reset();
    m_playing.reset();
    pa_threaded_mainloop_unlock(m_loop);
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

void PulseSoundPlayer::dropStream()
{
    // The library's lock is held. Disconnecting drops whatever the server
    // still had to play of it.
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

void PulseSoundPlayer::startStream()
{
    // The library's lock is held. A sound still playing is cut off.
    const std::shared_ptr<const Sound> sound = std::move(m_pending);
    m_pending.reset();
    dropStream();
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16NE;
    format.rate = static_cast<std::uint32_t>(sound->rate);
    format.channels = static_cast<std::uint8_t>(sound->channels);
    m_stream = pa_stream_new(m_context, "Termin", &format, nullptr);
    if (m_stream) {
        m_playing = sound;
        pa_stream_set_state_callback(m_stream, &PulseSoundPlayer::onStreamState, this);
        if (pa_stream_connect_playback(m_stream, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr) >= 0)
            return;
        dropStream();
        m_playing.reset();
    }
    QMetaObject::invokeMethod(this, [this] { ringBell("cannot be played"); }, Qt::QueuedConnection);
}

void PulseSoundPlayer::onContextState(pa_context *context, void *self)
{
    // On the library's thread, with its lock held.
    auto *player = static_cast<PulseSoundPlayer *>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY && player->m_pending)
        player->startStream();
    else if (!PA_CONTEXT_IS_GOOD(state))
        QMetaObject::invokeMethod(player, &PulseSoundPlayer::serverLost, Qt::QueuedConnection);
}

void PulseSoundPlayer::serverLost()
{
    // Only a connection that is still the broken one is given up; play()
    // may have opened a new one since.
    if (!m_loop)
        return;
    pa_threaded_mainloop_lock(m_loop);
    const bool broken = !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
    const bool waiting = m_pending != nullptr;
    pa_threaded_mainloop_unlock(m_loop);
    if (!broken)
        return;
    disconnectFromServer();
    // A sound that was waiting for the server never got there.
    if (waiting)
        ringBell("lost its sound server");
}

void PulseSoundPlayer::onStreamState(pa_stream *stream, void *self)
{
    // On the library's thread, with its lock held: the whole sound is handed
    // over at once (the library copies it), then the stream drains.
    auto *player = static_cast<PulseSoundPlayer *>(self);
    if (stream != player->m_stream)
        return;
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        if (const std::shared_ptr<const Sound> sound = std::move(player->m_playing)) {
            pa_stream_write(stream, sound->samples.data(), sound->samples.size() * sizeof(short), nullptr, 0, PA_SEEK_RELATIVE);
            if (pa_operation *drain = pa_stream_drain(stream, &PulseSoundPlayer::onDrained, self))
                pa_operation_unref(drain);
        }
        break;
    case PA_STREAM_FAILED:
        // A stream that fails before it got the sound (no device to play
        // it on) rings the bell; one cut short by a server going away has
        // been heard already.
        if (player->m_playing) {
            player->m_playing.reset();
            QMetaObject::invokeMethod(player, [player] { player->ringBell("has no device to play on"); }, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
}

void PulseSoundPlayer::onDrained(pa_stream *stream, int, void *self)
{
    // On the library's thread, with its lock held: the sound has ended. The
    // connection is given up once no new sound has come for a while.
    auto *player = static_cast<PulseSoundPlayer *>(self);
    if (stream != player->m_stream)
        return;
    player->dropStream();
    QMetaObject::invokeMethod(player, &PulseSoundPlayer::lingerIfIdle, Qt::QueuedConnection);
}

void PulseSoundPlayer::lingerIfIdle()
{
    // A sound started since the last one ended keeps the connection.
    if (!m_loop)
        return;
    pa_threaded_mainloop_lock(m_loop);
    const bool idle = !m_stream && !m_pending;
    pa_threaded_mainloop_unlock(m_loop);
    if (idle)
        m_linger.start();
}

} // namespace lumitakt
