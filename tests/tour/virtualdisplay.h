// An X display of its own for the few checks that need a real windowing system (Qt's offscreen platform
// has no desktop services). Skips cleanly where Xvfb is not installed.
#pragma once

#include <QProcess>
#include <QStandardPaths>

namespace testsupport {

class VirtualDisplay {
public:
    VirtualDisplay() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) return;
        // Xvfb picks a free display itself and writes its number once it accepts connections.
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("1024x768x24")});
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(10000))
            number += m_server.readAllStandardOutput();
        if (number.trimmed().isEmpty()) return;
        m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    }
    ~VirtualDisplay() {
        if (m_server.state() == QProcess::NotRunning) return;
        m_server.terminate();
        if (!m_server.waitForFinished(3000)) m_server.kill();
        m_server.waitForFinished(3000);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ok() const { return !m_display.isEmpty(); }
    QString name() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

} // namespace testsupport
