// Shared by the tests: a recording desktop, real mouse input through a form's window, a clean runtime.
#pragma once

#include "vb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

namespace testsupport {

// Each test process keeps the Jotter's journal in a state folder of its own, and pages it saves in a home of
// its own, both gone when it ends.
inline const struct PrivateFolders {
    QTemporaryDir dir;
    PrivateFolders() {
        for (const char* v : {"XDG_STATE_HOME", "HOME", "XDG_CONFIG_HOME"}) {
            QDir(dir.path()).mkdir(QLatin1String(v));
            qputenv(v, QFile::encodeName(dir.path() + QLatin1Char('/') + QLatin1String(v)));
        }
    }
} privateFolders;

// Records what the program asks of the desktop; a refusing one has nothing to open it with.
class RecordingPlatform : public vb::Platform {
public:
    struct Request {
        QString verb, target;
    };
    QList<Request> opened;
    QStringList errorReports;
    bool refuses = false;
    bool shellOpen(QWidget*, const QString& verb, const QString& target) override {
        opened.append({verb, target});
        return !refuses;
    }
    void keepInFront(QWidget*) override {}
    void showErrorReport(const QString& text) override { errorReports.append(text); }
};

// Installs a fresh recorder, which the runtime owns.
inline RecordingPlatform& recordDesktop() {
    auto p = std::make_unique<RecordingPlatform>();
    RecordingPlatform& ref = *p;
    vb::Runtime::setPlatform(std::move(p));
    return ref;
}

// Back to a fresh start; deferred window deletions are carried out.
inline void freshRuntime() {
    vb::Runtime::reset();
    vb::setDataDir(QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline QWindow* windowOf(const vb::Form& f) {
    QWidget* w = f.hWnd();
    return w ? w->windowHandle() : nullptr;
}

// A point of a control in its window's coordinates (the centre unless given, in the control's pixels).
inline QPoint pointIn(const vb::Control& c, QPoint local = QPoint(-1, -1)) {
    if (local == QPoint(-1, -1)) local = c.rect().center();
    return c.mapTo(c.window(), local);
}

// A click delivered to the window, through Qt's own dispatch.
inline void click(const vb::Control& c, Qt::MouseButton b = Qt::LeftButton) {
    QWindow* w = c.window()->windowHandle();
    const QPoint at = pointIn(c);
    QTest::mouseMove(w, at);
    QTest::mousePress(w, b, Qt::NoModifier, at);
    QTest::mouseRelease(w, b, Qt::NoModifier, at);
}

// A press at `from`, moves in `steps` to `to`, and a release there, all in window pixels.
inline void drag(QWindow* w, QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton, int steps = 4) {
    QTest::mouseMove(w, from);
    QTest::mousePress(w, b, Qt::NoModifier, from);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(w, from + (to - from) * i / steps);
    QTest::mouseRelease(w, b, Qt::NoModifier, to);
}

// A touch screen, known to Qt's input path as a real one is.
inline QPointingDevice* touchScreen() {
    static QPointingDevice* device = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return device;
}

// Fingers pressed together at `from`, moved together in `steps` to `to` and lifted there, in window pixels.
inline void fingers(QWindow* w, const QList<QPoint>& from, const QList<QPoint>& to, int steps = 4) {
    for (int step = 0; step <= steps + 1; ++step) {
        QTest::QTouchEventSequence touch = QTest::touchEvent(w, touchScreen());
        for (int i = 0; i < from.size(); ++i) {
            const QPoint at = from[i] + (to[i] - from[i]) * std::min(step, steps) / steps;
            step == 0 ? touch.press(i, at) : step > steps ? touch.release(i, at) : touch.move(i, at);
        }
    }
}

// The number of the runtime error that `f` raises, or 0 if it raises none.
template <class F> int runtimeErrorOf(F&& f) {
    try {
        f();
    } catch (const vb::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// A data folder of the test's own, with an empty Images folder.
struct ScratchData {
    QTemporaryDir dir;
    ScratchData() {
        QDir(dir.path()).mkdir(QStringLiteral("Images"));
        vb::setDataDir(dir.path());
    }
};

// Stopped with status 1 and one error report holding every one of `words`, no screen left.
inline void expectStoppedWithReport(const RecordingPlatform& desktop, const QStringList& words) {
    QVERIFY(vb::Runtime::ended());
    QCOMPARE(vb::Runtime::exitCode(), 1);
    QCOMPARE(desktop.errorReports.size(), 1);
    for (const QString& w : words)
        QVERIFY2(desktop.errorReports[0].contains(w), qPrintable(desktop.errorReports[0]));
    QVERIFY(vb::Runtime::loadedForms().isEmpty());
}

} // namespace testsupport
