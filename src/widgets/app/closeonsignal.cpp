#include "app/closeonsignal.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <array>
#include <cerrno>
#include <csignal>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array<int, 3> EndingSignals{SIGTERM, SIGINT, SIGHUP};
// Long enough for a dialog's loop to return and the code after it to go on.
constexpr int CloseEveryMs = 20;
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t signalArrived = 0;

// Only what is safe inside a signal handler: the byte wakes the event loop,
// which does the closing.
void onSignal(int)
{
    const int saved = errno;
    signalArrived = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}
} // namespace

CloseOnSignal::CloseOnSignal()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    m_closing.setInterval(CloseEveryMs);
    connect(&m_closing, &QTimer::timeout, this, &CloseOnSignal::closeNext);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) { }
        if (!m_closing.isActive()) {
            m_closing.start();
            closeNext();
        }
    });

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A second signal of the same kind ends the program at once, as it would
    // have without this; the next start removes what that leaves behind.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : EndingSignals) {
        struct sigaction before = {};
        // A signal the program was started to ignore (nohup) stays ignored.
        if (sigaction(number, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            sigaction(number, &action, nullptr);
    }
}

CloseOnSignal::~CloseOnSignal()
{
    if (signalPipe[0] < 0)
        return;
    for (const int number : EndingSignals) {
        struct sigaction current = {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == onSignal)
            signal(number, SIG_DFL);
    }
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

bool CloseOnSignal::endRequested()
{
    return signalArrived != 0;
}

// One window per turn, the topmost dialog first: each close lets one dialog's
// loop return, and whatever the code after it shows is closed on a later turn.
// A window that waits before it closes, such as a print job's progress, is
// asked again until it has.
void CloseOnSignal::closeNext()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        return;
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->close();
            return;
        }
    }
}
