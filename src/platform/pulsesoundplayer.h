#pragma once

#include "platform/soundplayer.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace lumitakt {

// Plays WAV files (any PCM that libsndfile reads) through the desktop's
// sound server with PulseAudio's client library, which PipeWire serves too.
// play() returns at once: the library's own thread carries the sound. A new
// sound cuts off the one still playing. The connection to the server is
// opened by the first sound and closed again a few seconds after the last
// one has ended, so a clock that is not ringing holds no connection and no
// thread; an alarm that repeats twice a second keeps the one connection,
// and the sound it reads and decodes once. A missing or unreadable file, or
// no server, gives `bell` (the desktop's).
class PulseSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit PulseSoundPlayer(std::function<void()> bell, QObject *parent = nullptr);
    ~PulseSoundPlayer() override;

    PulseSoundPlayer(const PulseSoundPlayer &) = delete;
    PulseSoundPlayer &operator=(const PulseSoundPlayer &) = delete;

    void play(const QString &file) override;

    // Whether a connection to the sound server is open or being opened.
    bool isConnected() const { return m_loop != nullptr; }

    // The samples of a sound, 16 bits, channels interleaved.
    struct Sound {
        int rate = 0;
        int channels = 0;
        std::vector<short> samples;
    };

private:
    // Logs why the sound cannot be played and rings the bell in its place.
    void ringBell(const QByteArray &why);
    bool connectToServer();
    void disconnectFromServer();
    void startStream();
    void dropStream();
    void serverLost();
    void lingerIfIdle();

    static void onContextState(pa_context *context, void *self);
    static void onStreamState(pa_stream *stream, void *self);
    static void onDrained(pa_stream *stream, int success, void *self);

    std::function<void()> m_bell;
    QTimer m_linger;
    // The sound last read, by the path it was read from.
    QString m_readFrom;
    std::shared_ptr<const Sound> m_read;
    // Everything below belongs to the library's thread while it runs, and
    // is touched here only with its lock held.
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    std::shared_ptr<const Sound> m_pending; // waits for the connection
    std::shared_ptr<const Sound> m_playing; // written once the stream is ready
};

} // namespace lumitakt
