// Display changes: from the moment the program hears that its display changed until every window of a lesson
// has been painted at its new place and factor, against showing the same windows afresh on that display.
#include "../common/paintwatch.h"
#include "benchmarks.h"
#include "displayfit.h"
#include "drive.h"
#include "vb.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <qpa/qplatformnativeinterface.h>

#include <cmath>
#include <map>
#include <optional>

namespace bench {

namespace {
const char* const kLesson[] = {"Grey", "intro0", "menu2", "reflex", "notepad"};

// An X server started at the largest size with -noreset changes size with RandR; offscreen, the platform
// takes a new configuration.
bool switchTo(QSize size) {
    const QString mode = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QProcess xrandr;
        auto run = [&](const QStringList& args) {
            xrandr.start(QStringLiteral("xrandr"), args);
            return xrandr.waitForFinished() && xrandr.exitStatus() == QProcess::NormalExit &&
                   xrandr.exitCode() == 0;
        };
        const auto w = [&](int d) { return QString::number(size.width() + d); };
        const auto h = [&](int d) { return QString::number(size.height() + d); };
        // Adding a mode a second time fails, and does no harm.
        run({QStringLiteral("--newmode"), mode, QStringLiteral("100"), w(0), w(8), w(16), w(24), h(0), h(1),
             h(2), h(3)});
        run({QStringLiteral("--addmode"), QStringLiteral("screen"), mode});
        return run({QStringLiteral("--output"), QStringLiteral("screen"), QStringLiteral("--mode"), mode,
                    QStringLiteral("--fb"), mode});
    }
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) return false;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    using Set = void (*)(const QJsonObject&, QPlatformNativeInterface*);
    const auto set = reinterpret_cast<Set>(native->nativeResourceForIntegration("setConfiguration"));
    if (!set) return false;
    set(QJsonObject{{"screens", QJsonArray{QJsonObject{{"name", vb::Runtime::display()->name()},
                                                       {"width", size.width()},
                                                       {"height", size.height()}}}}},
        native);
    return true;
}

// Waits until every window of the lesson has been painted; returns when the last one was.
std::optional<double> paintedAt(const std::map<QString, double>& painted) {
    const double deadline = nowMs() + 10000;
    auto all = [&] {
        for (const char* name : kLesson)
            if (!painted.count(QLatin1String(name))) return false;
        return true;
    };
    while (!all() && nowMs() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!all()) return std::nullopt;
    double last = 0;
    for (const auto& [name, at] : painted)
        last = std::max(last, at);
    return last;
}
} // namespace

void displayChanges(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(QStringLiteral("6"), QStringLiteral("Display changes: the change heard to every window of a "
                                                  "lesson painted at its new place, against starting there"));
    qreal target = 0;
    std::map<QString, double> painted;
    const paintwatch::Watch watch([&](QWidget* w) {
        if (std::abs(w->devicePixelRatioF() - target) < 1e-3 && !painted.count(w->objectName()))
            painted[w->objectName()] = nowMs();
    });
    double heard = 0;
    const QSize original = vb::Runtime::deviceSize(vb::Runtime::display());
    const int reps = std::max(1, std::min(s.changeReps, s.brief ? 2 : 10));
    for (const auto& [from, to] :
         {std::pair{QSize(1024, 768), QSize(1920, 1080)}, std::pair{QSize(1920, 1080), QSize(3840, 2160)}}) {
        const QString label = QStringLiteral("%1 x %2 -> %3 x %4")
                                  .arg(from.width())
                                  .arg(from.height())
                                  .arg(to.width())
                                  .arg(to.height());
        std::vector<double> change, start;
        for (int rep = 0; rep < reps; ++rep) {
            // The lesson on the first display, untimed.
            painted.clear();
            target = displayfit::fitFactor(from);
            if (!switchTo(from))
                return t.failed(label, QStringLiteral("the display cannot change size here"));
            vb::Runtime::reset();
            for (const char* name : kLesson)
                vb::Runtime::dispatch([name] { drive::screen(QLatin1String(name))->Show(); });
            if (!paintedAt(painted)) return t.failed(label, QStringLiteral("the lesson was not shown"));
            drive::settle(50);
            // The change.
            painted.clear();
            target = displayfit::fitFactor(to);
            QScreen* display = vb::Runtime::display();
            const auto c = QObject::connect(display, &QScreen::geometryChanged, [&] { heard = nowMs(); });
            heard = 0;
            if (!switchTo(to)) return t.failed(label, QStringLiteral("the display cannot change size here"));
            const auto done = paintedAt(painted);
            QObject::disconnect(c);
            if (!done || heard == 0)
                return t.failed(label, QStringLiteral("the windows were not painted at the new factor"));
            change.push_back(*done - heard);
            drive::settle(50);
            // The same lesson shown afresh there, its pictures read again as on a start.
            vb::Runtime::reset();
            vb::clearPictureCache();
            drive::settle(50);
            painted.clear();
            const double begun = nowMs();
            for (const char* name : kLesson)
                vb::Runtime::dispatch([name] { drive::screen(QLatin1String(name))->Show(); });
            const auto shown = paintedAt(painted);
            if (!shown) return t.failed(label, QStringLiteral("the lesson was not shown afresh"));
            start.push_back(*shown - begun);
            drive::settle(50);
        }
        const Summary a = summarize(change), b = summarize(start);
        const double ratio = a.median / b.median;
        t.row(label + QStringLiteral(", refitted"), QStringLiteral("%1 / %2").arg(ms(a.median), ms(a.p95)),
              QString(), Verdict::None);
        t.row(label + QStringLiteral(", started there"),
              QStringLiteral("%1 / %2").arg(ms(b.median), ms(b.p95)), QString(), Verdict::None);
        t.row(QStringLiteral("  ratio of the medians"), QStringLiteral("%1x").arg(ratio, 0, 'f', 2),
              QStringLiteral("<= 0.8x"), verdict(ratio <= 0.8));
    }
    vb::Runtime::reset();
    switchTo(original);
    drive::settle(100);
}

} // namespace bench
