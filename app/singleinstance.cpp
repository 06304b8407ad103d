#include "singleinstance.h"

#include "vb.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr char kRequest[] = "forward\n";
// "jotter ACTION": something of the Jotter.
constexpr char kJotterRequest[] = "jotter ";
constexpr char kAnswer[] = "done\n";
// "scale F" first, then one of the two above.
constexpr char kScaleRequest[] = "scale ";

// The abstract namespace has no file permissions: anybody may bind or connect, so each side makes sure that
// the other is the same user before it acts on what it hears.
bool sameUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
    return peer.uid == getuid();
}

} // namespace

SingleInstance::SingleInstance(std::function<void()> bringForward, QObject* parent)
    : QObject(parent), m_bringForward(std::move(bringForward)) {}

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
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(key());
    if (!socket.waitForConnected(1000) || !sameUser(socket)) return false;
    if (scale > 0) socket.write(kScaleRequest + QByteArray::number(scale) + '\n');
    socket.write(jotter.isEmpty() ? QByteArray(kRequest) : kJotterRequest + jotter.toLatin1() + '\n');
    if (!socket.waitForBytesWritten(1000)) return false;
    while (socket.bytesAvailable() < qint64(sizeof kAnswer - 1) && socket.waitForReadyRead(3000)) {
    }
    if (socket.readAll() != QByteArray(kAnswer)) return false;
    std::fputs(
        jotter == QLatin1String("save") ? "zestora-biology: already running; its Jotter's page is saved.\n"
        : !jotter.isEmpty()             ? "zestora-biology: already running; its Jotter has been opened.\n"
                            : "zestora-biology: already running; its screen has been brought forward.\n",
        stdout);
    return true;
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!m_server->listen(key())) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!sameUser(*socket)) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            QByteArray request = socket->readLine(64);
            if (request.startsWith(kScaleRequest)) {
                bool ok = false;
                const double scale = request.mid(int(sizeof kScaleRequest) - 1).trimmed().toDouble(&ok);
                if (ok && m_takeScale) m_takeScale(scale);
                if (!socket->canReadLine()) return;
                request = socket->readLine(64);
            }
            if (request.startsWith(kJotterRequest) && m_jotter)
                m_jotter(QString::fromLatin1(request.mid(int(sizeof kJotterRequest) - 1).trimmed()));
            else if ((request == QByteArray(kRequest) || request.startsWith(kJotterRequest)) &&
                     m_bringForward)
                m_bringForward();
            socket->write(kAnswer);
            socket->disconnectFromServer();
        });
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
