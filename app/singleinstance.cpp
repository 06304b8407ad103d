#include "singleinstance.h"

#include "vb.h"

#include <QCryptographicHash>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Plain sockets rather than Qt Network: that library, with Kerberos and libproxy behind it, would be loaded
// into every start for these few lines.
namespace {

constexpr char kRequest[] = "forward\n";
// "jotter ACTION": something of the Jotter.
constexpr char kJotterRequest[] = "jotter ";
constexpr char kAnswer[] = "done\n";
// "scale F" first, then one of the two above.
constexpr char kScaleRequest[] = "scale ";
// More than any request: a caller that sends this much without ending one is let go.
constexpr qsizetype kLongestRequest = 256;

struct Address {
    sockaddr_un addr{};
    socklen_t size = 0;
};

// In the abstract namespace: a zero byte, then the name, its length given exactly.
Address address() {
    Address a;
    a.addr.sun_family = AF_UNIX;
    const QByteArray name = SingleInstance::key().toUtf8();
    const size_t length = std::min(size_t(name.size()), sizeof a.addr.sun_path - 1);
    std::memcpy(a.addr.sun_path + 1, name.constData(), length);
    a.size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
    return a;
}

// The abstract namespace has no file permissions: anybody may bind or connect, so each side makes sure that
// the other is the same user before it acts on what it hears.
bool sameUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
    return peer.uid == getuid();
}

bool sendAll(int socket, const QByteArray& bytes) {
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(socket, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}

void setTimeout(int socket, int option, int seconds) {
    const timeval t{seconds, 0};
    setsockopt(socket, SOL_SOCKET, option, &t, sizeof t);
}

// The lines of a whole request, the scale's line first if it has one; none while one is still coming.
QList<QByteArray> wholeRequest(const QByteArray& heard) {
    QList<QByteArray> lines = heard.split('\n');
    lines.removeLast(); // what follows the last line's end
    if (lines.isEmpty() || (lines.first().startsWith(kScaleRequest) && lines.size() < 2)) return {};
    return lines;
}

} // namespace

SingleInstance::SingleInstance(std::function<void()> bringForward, QObject* parent)
    : QObject(parent), m_bringForward(std::move(bringForward)) {}

SingleInstance::~SingleInstance() {
    // The listening socket, paused or not, and callers not yet answered (an answered one is closed and
    // disabled).
    for (QSocketNotifier* n : findChildren<QSocketNotifier*>())
        if (n == m_listener || n->isEnabled()) {
            n->setEnabled(false);
            ::close(int(n->socket()));
        }
}

QString SingleInstance::key() {
    QByteArray session = qgetenv("XDG_RUNTIME_DIR");
    if (session.isEmpty()) session = qgetenv("DISPLAY") + '|' + qgetenv("WAYLAND_DISPLAY");
    const QByteArray digest = QCryptographicHash::hash(session, QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("example.quorvane.ZestoraBiology.%1.%2")
        .arg(getuid())
        .arg(QString::fromLatin1(digest));
}

bool SingleInstance::handedOver(const QString& jotter, double scale) {
    // Two starts at the same moment: one of them wins the name, the other then finds it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (askRunningCopy(jotter, scale)) return true;
        if (listen()) return false;
        QThread::msleep(100);
    }
    // The name is held by something that does not answer: run on alone.
    std::fputs("zestora-biology: another copy is running but does not answer; starting anyway.\n", stderr);
    return false;
}

bool SingleInstance::askRunningCopy(const QString& jotter, double scale) {
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return false;
    const auto closed = qScopeGuard([socket] { ::close(socket); });
    setTimeout(socket, SO_SNDTIMEO, 1);
    setTimeout(socket, SO_RCVTIMEO, 3);
    const Address a = address();
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&a.addr), a.size) != 0 || !sameUser(socket))
        return false;
    QByteArray request;
    if (scale > 0) request += kScaleRequest + QByteArray::number(scale) + '\n';
    request += jotter.isEmpty() ? QByteArray(kRequest) : kJotterRequest + jotter.toLatin1() + '\n';
    if (!sendAll(socket, request)) return false;
    QByteArray answer;
    char buffer[16];
    while (answer.size() < qsizetype(sizeof kAnswer - 1)) {
        const ssize_t n = ::read(socket, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break; // closed, or no answer in time
        answer.append(buffer, n);
    }
    if (answer != QByteArray(kAnswer)) return false;
    std::fputs(
        jotter == QLatin1String("save") ? "zestora-biology: already running; its Jotter's page is saved.\n"
        : !jotter.isEmpty()             ? "zestora-biology: already running; its Jotter has been opened.\n"
                            : "zestora-biology: already running; its screen has been brought forward.\n",
        stdout);
    return true;
}

bool SingleInstance::listen() {
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0) return false;
    const Address a = address();
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&a.addr), a.size) != 0 ||
        ::listen(socket, 16) != 0) {
        ::close(socket);
        return false;
    }
    m_listener = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(m_listener, &QSocketNotifier::activated, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::answer() {
    for (;;) {
        const int socket =
            ::accept4(int(m_listener->socket()), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (socket < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // Out of descriptors, say: the caller stays queued and the socket stays readable, which would
                // wake the program over and over. It listens again a second later.
                m_listener->setEnabled(false);
                QTimer::singleShot(1000, m_listener, [listener = m_listener] { listener->setEnabled(true); });
            }
            return;
        }
        if (!sameUser(socket)) {
            ::close(socket);
            continue;
        }
        auto* caller = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        connect(caller, &QSocketNotifier::activated, this,
                [this, caller, heard = QByteArray()]() mutable { hear(caller, heard); });
    }
}

void SingleInstance::hear(QSocketNotifier* caller, QByteArray& heard) {
    const int socket = int(caller->socket());
    char buffer[kLongestRequest];
    const ssize_t n = ::read(socket, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n > 0) heard.append(buffer, n);
    const QList<QByteArray> lines = wholeRequest(heard);
    if (lines.isEmpty() && n > 0 && heard.size() <= kLongestRequest) return; // the rest is still coming
    // Heard once: what is done below may wait in a loop of its own (a message on screen).
    caller->setEnabled(false);
    caller->deleteLater();
    const auto closed = qScopeGuard([socket] { ::close(socket); });
    if (!lines.isEmpty()) {
        QByteArray request = lines.first() + '\n';
        if (request.startsWith(kScaleRequest)) {
            bool ok = false;
            const double scale = request.mid(qsizetype(sizeof kScaleRequest) - 1).trimmed().toDouble(&ok);
            if (ok && m_takeScale) m_takeScale(scale);
            request = lines.at(1) + '\n';
        }
        if (request.startsWith(kJotterRequest) && m_jotter)
            m_jotter(QString::fromLatin1(request.mid(qsizetype(sizeof kJotterRequest) - 1).trimmed()));
        else if ((request == QByteArray(kRequest) || request.startsWith(kJotterRequest)) && m_bringForward)
            m_bringForward();
        sendAll(socket, kAnswer);
    }
}

void bringProgramForward() {
    const QList<vb::Form*> order = vb::Runtime::stackingOrder();
    QWidget* front = nullptr;
    for (vb::Form* f : order) {
        QWidget* w = f->hWnd();
        if (!w || !w->isVisible()) continue;
        if (w->windowState() & Qt::WindowMinimized)
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        if (f->StaysAtBottom()) continue;
        vb::Runtime::raiseWindow(w);
        front = w;
    }
    vb::Runtime::restack();
    if (front) front->activateWindow();
}
