#include "platform/quitsignals.h"

#include <QSocketNotifier>

#include <pthread.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace lumitakt {

namespace {

constexpr std::array kQuitSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's ends; the write end is all the handler touches.
int g_pipe[2] = {-1, -1};

extern "C" void onQuitSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request to quit; nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

void QuitSignals::endAtOnceUntilCaught()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signalNumber : kQuitSignals) {
        ::sigaction(signalNumber, &action, nullptr);
        sigaddset(&signals, signalNumber);
    }
    ::pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

QuitSignals::QuitSignals(QObject *parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kQuitSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kQuitSignals)
        ::sigaction(signalNumber, &action, nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void QuitSignals::readPipe()
{
    char bytes[16];
    bool requested = false;
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0)
        requested = true;
    if (requested)
        Q_EMIT quitRequested();
}

} // namespace lumitakt
