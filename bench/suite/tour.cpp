#include "tour.h"

#include "registry.h"
#include "vb.h"

#include <QSet>
#include <QTest>
#include <QWindow>

namespace tour {

using drive::Input;
using drive::Step;

namespace {
const QString kTitle = QStringLiteral("Titlefrm");
const QString kOpening = QStringLiteral("intro0");
const QString kJotter = QStringLiteral("notepad");
const QString kBackdrop = QStringLiteral("Grey");

const ScreenInfo& info(const QString& name) {
    return *screenInfo(name);
}

// A control by its design name, "Label3(1)" or "Command1".
Input input(const QString& screen, const QString& control) {
    const qsizetype paren = control.indexOf(u'(');
    if (paren < 0) return {screen, control};
    return {screen, control.left(paren), control.mid(paren + 1).chopped(1).toInt()};
}

// The screen the Jotter is opened over (Ctrl+J on it) and comes back to.
QString opener(const ScreenInfo& s) {
    return s.name == kJotter ? kOpening : s.from;
}

Step open(const ScreenInfo& s) {
    if (s.name == kJotter)
        return {QStringLiteral("Ctrl+J on %1 -> %2").arg(kOpening, kJotter), {kOpening, QString()}, kJotter};
    return {QStringLiteral("%1 -> %2").arg(s.from, s.name), input(s.from, s.open), s.name, false,
            s.replacesOpener ? s.from : QString()};
}

// Where leaving a screen lands: the nearest screen on its way in that stayed loaded beneath; the title
// screen, which the opening screen replaced, is shown again.
QString landing(const ScreenInfo& s) {
    const ScreenInfo* below = &s;
    while (below->replacesOpener && !info(below->from).from.isEmpty())
        below = &info(below->from);
    return opener(*below);
}

Step close(const ScreenInfo& s) {
    const QString to = landing(s);
    // The backdrop goes with the check box that brought it.
    const Input in = s.name == kBackdrop ? input(s.from, s.close) : input(s.name, s.close);
    return {QStringLiteral("%1 exit -> %2").arg(s.name, to), in, to, to != kTitle, s.name};
}

Step way(const Way& w) {
    return {QStringLiteral("%1 -> %2").arg(w.from, w.to), input(w.from, w.control), w.to, false, w.from};
}

const Way* wayFrom(const QString& screen) {
    for (const Way& w : otherWays())
        if (w.from == screen) return &w;
    return nullptr;
}

QList<Step> there(const QString& name) {
    if (name == kTitle) return {};
    const ScreenInfo& s = info(name);
    return there(opener(s)) << open(s);
}

QList<Step> back(const QString& name) {
    if (name == kTitle) return {};
    const ScreenInfo& s = info(name);
    return QList<Step>{close(s)} << back(landing(s));
}
} // namespace

QList<Sequence> navigations() {
    QList<Sequence> all;
    for (const ScreenInfo& s : allScreens()) {
        if (s.name == kTitle) continue;
        const QString from = opener(s), to = landing(s);
        // Leaving lands at or below the opener; the way back up to it closes the cycle.
        all.append(
            {there(from), QList<Step>{open(s), close(s)} << there(from).mid(there(to).size()), back(from)});
    }
    // The other ways, each in a cycle back to where it started: by the way in, or along further ways.
    QSet<QString> timed;
    for (const Way& w : otherWays()) {
        QList<Step> cycle{way(w)};
        QString at = w.to;
        while (at != w.from && cycle.size() <= otherWays().size()) {
            if (info(w.from).from == at) {
                cycle << open(info(w.from));
                at = w.from;
            } else if (const Way* next = wayFrom(at)) {
                cycle << way(*next);
                at = next->to;
            } else {
                break;
            }
        }
        if (at != w.from || timed.contains(cycle.first().label)) continue;
        for (const Step& step : cycle)
            timed.insert(step.label);
        all.append({there(w.from), cycle, back(w.from)});
    }
    return all;
}

bool showTitle(QString* error) {
    vb::Form* title = drive::screen(kTitle);
    if (!title) {
        *error = QStringLiteral("no title screen in this build");
        return false;
    }
    const quint64 seen = drive::paintsOf(kTitle);
    vb::Runtime::dispatch([title] { title->Show(); });
    if (!drive::waitForPaint(kTitle, seen)) {
        *error = QStringLiteral("the title screen was not painted");
        return false;
    }
    drive::settle();
    return true;
}

bool walk(const QList<Step>& steps, QString* error) {
    for (const Step& s : steps) {
        QString why;
        if (!drive::perform(s, &why)) {
            *error = s.label + QStringLiteral(": ") + why;
            return false;
        }
        drive::settle();
    }
    return true;
}

QList<Place> places() {
    QList<Place> out;
    for (const ScreenInfo& s : allScreens())
        out.append({s.name, there(s.name), back(s.name)});
    return out;
}

namespace {
// A short stroke across the Jotter's page, so its ink image is part of the visit.
void strokeOnJotter() {
    vb::Form* pad = drive::screen(kJotter);
    if (!pad || !pad->hWnd()) return;
    QWindow* w = pad->hWnd()->windowHandle();
    QTest::mouseMove(w, QPoint(30, 30));
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    for (int i = 1; i <= 20; ++i)
        QTest::mouseMove(w, QPoint(30 + 15 * i, 30 + (i % 2) * 60));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(330, 30));
    drive::settle();
}
} // namespace

bool visitEveryScreen(QString* error) {
    for (const Place& p : places()) {
        if (!walk(p.there, error)) return false;
        if (p.label == kJotter) strokeOnJotter();
        if (!walk(p.back, error)) return false;
    }
    return true;
}

} // namespace tour
