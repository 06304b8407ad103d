// Shared by the tests: a recording desktop, real mouse input through a form's window, and a clean runtime for
// every test function.
#pragma once

#include "vb.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

#include <memory>

namespace testsupport {

// Records what the program asks of the desktop instead of doing it.
class RecordingPlatform : public vb::Platform {
public:
    struct Request {
        QString verb, target;
    };
    QList<Request> opened;
    QList<QWidget*> keptInFront;
    QStringList errorReports;
    bool shellOpen(QWidget*, const QString& verb, const QString& target) override {
        opened.append({verb, target});
        return true;
    }
    void keepInFront(QWidget* window) override { keptInFront.append(window); }
    void showErrorReport(const QString& text) override { errorReports.append(text); }
};

// Installs a fresh recorder and returns it; the runtime owns it.
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

inline Qt::MouseButton qtButton(int vbButton) {
    return vbButton == vb::vbRightButton ? Qt::RightButton
           : vbButton == vb::vbMiddleButton ? Qt::MiddleButton
                                            : Qt::LeftButton;
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
    for (int i = 1; i <= steps; ++i) QTest::mouseMove(w, from + (to - from) * i / steps);
    QTest::mouseRelease(w, b, Qt::NoModifier, to);
}

inline void hover(QWindow* w, QPoint at) { QTest::mouseMove(w, at); }

} // namespace testsupport

// ---- Refusing desktop (test_navigation, test_guide) ----
namespace testsupport {
// A desktop with no application for what it is asked to open: it records the request and says no.
struct RefusingPlatform : RecordingPlatform {
    bool shellOpen(QWidget* owner, const QString& verb, const QString& target) override {
        RecordingPlatform::shellOpen(owner, verb, target);
        return false;
    }
};

inline RefusingPlatform& refuseDesktop() {
    auto p = std::make_unique<RefusingPlatform>();
    RefusingPlatform& ref = *p;
    vb::Runtime::setPlatform(std::move(p));
    return ref;
}
} // namespace testsupport
// ---- end Refusing desktop ----
