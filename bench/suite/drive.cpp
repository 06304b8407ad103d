#include "drive.h"

#include "../common/paintwatch.h"
#include "bench.h"
#include "registry.h"
#include "vb.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QHash>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace drive {

namespace {
QHash<QString, quint64> g_paints;
paintwatch::Watch* g_watch = nullptr;
} // namespace

void startWatching() {
    if (g_watch) return;
    // Screens' windows carry the screen's name.
    g_watch = new paintwatch::Watch([](QWidget* window) { ++g_paints[window->objectName()]; });
}

quint64 paintsOf(const QString& screen) {
    return g_paints.value(screen);
}

bool waitForPaint(const QString& screen, quint64 seen, int timeoutMs) {
    if (paintsOf(screen) > seen) { // painted while the input was handled
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    }
    bool late = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] { late = true; });
    watchdog.start(timeoutMs);
    // Blocking until the next event, as the event loop does: the display's expose arrives when it arrives.
    while (paintsOf(screen) <= seen && !late)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !late;
}

void settle(int ms) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool inThisBuild(const QString& name) {
    for (const ScreenInfo& s : allScreens())
        if (s.name == name) return true;
    return false;
}

vb::Form* screen(const QString& name) {
    return inThisBuild(name) ? screenByName(name) : nullptr;
}

bool isShown(const QString& name) {
    vb::Form* f = screen(name);
    return f && f->isLoaded() && f->hWnd() && f->hWnd()->isVisible();
}

bool locate(const Input& input, QWindow** window, QPoint* at, QString* error) {
    vb::Form* f = screen(input.screen);
    if (!f || !f->isLoaded() || !f->hWnd()) {
        *error = input.screen + QStringLiteral(" is not shown");
        return false;
    }
    if (input.control.isEmpty()) {
        *window = f->hWnd()->windowHandle();
        *at = QPoint(1, 1);
        return *window != nullptr;
    }
    vb::Control* c = f->findControl(input.control, input.index);
    const QString name =
        input.index < 0 ? input.control : QStringLiteral("%1(%2)").arg(input.control).arg(input.index);
    if (!c || !c->isVisibleTo(f->hWnd()) || !c->isEnabled()) {
        *error = QStringLiteral("%1 has no visible, enabled %2").arg(input.screen, name);
        return false;
    }
    *window = c->window()->windowHandle();
    *at = c->mapTo(c->window(), c->rect().center());
    return *window != nullptr;
}

std::optional<double> perform(const Step& step, QString* error) {
    QWindow* window = nullptr;
    QPoint at;
    if (!locate(step.input, &window, &at, error)) return std::nullopt;
    const bool key = step.input.control.isEmpty();
    if (!key) {
        QTest::mouseMove(window, at);
        settle();
    }
    const int reportsBefore = int(bench::errorReports().size());
    const quint64 seen = paintsOf(step.shows);

    const double start = bench::nowMs();
    if (key)
        QTest::keyClick(window, Qt::Key_J, Qt::ControlModifier);
    else
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    bool painted = true;
    if (step.uncovers) {
        // Nothing new to paint: the screen beneath keeps its pixels. What the input queued is handled.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } else {
        painted = waitForPaint(step.shows, seen);
    }
    const double elapsed = bench::nowMs() - start;

    if (bench::errorReports().size() > reportsBefore) {
        *error = QStringLiteral("the program reported: ") + bench::errorReports().last();
        return std::nullopt;
    }
    if (!painted) {
        *error = step.shows + QStringLiteral(" was not painted");
        return std::nullopt;
    }
    if (!isShown(step.shows)) {
        *error = step.shows + QStringLiteral(" is not shown");
        return std::nullopt;
    }
    if (!step.closes.isEmpty() && screen(step.closes) && screen(step.closes)->isLoaded()) {
        *error = step.closes + QStringLiteral(" did not close");
        return std::nullopt;
    }
    return elapsed;
}

} // namespace drive
