#include "monkey.h"

#include "Module1.h"
#include "registry.h"
#include "tour.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QStyleHints>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

using namespace vb;

namespace tour {

namespace {

const QRegularExpression kMenu(QStringLiteral("^menu\\d$"));
const QRegularExpression kGuide(QStringLiteral("^TeacherGuide\\d$"));
const QStringList kActivities = {QStringLiteral("reflex"), QStringLiteral("sentence"),
                                 QStringLiteral("quadrat")};
constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};

QString text(Qt::MouseButtons b) {
    QStringList names;
    for (int i = 0; i < 3; ++i)
        if (b & kButtons[i]) names << QString::fromLatin1(std::array{"left", "right", "middle"}[i]);
    return names.isEmpty() ? QStringLiteral("none") : names.join(u'+');
}

QString text(QPoint p) {
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

QString names(const QList<Form*>& forms) {
    QStringList all;
    for (Form* f : forms)
        all << f->Name();
    return all.join(u',');
}

Form* formOf(const QWidget* window) {
    for (Form* f : Runtime::loadedForms())
        if (f->hWnd() == window) return f;
    return nullptr;
}

struct Box {
    Single left, top, width, height;
};

// The open catch rectangle of a box, each bound rounded to single precision as the screen rounds it.
bool inCatchArea(Single x, Single y, const Box& b) {
    const float left = float(double(b.left) - double(b.width) / 2), right = float(double(b.left) + b.width);
    const float top = float(double(b.top) - double(b.height) / 2), bottom = float(double(b.top) + b.height);
    return left < x && x < right && top < y && y < bottom;
}

// Qt's own complaints during a run are faults too, but not the test driver's note about a pointer that left
// the window (which the class does on purpose) nor the offscreen platform's about what it cannot do.
QStringList* g_warnings = nullptr;
QtMessageHandler g_previousHandler = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_warnings && type != QtDebugMsg && type != QtInfoMsg &&
        !text.contains(QLatin1String("occurs outside target window")) &&
        !text.startsWith(QLatin1String("This plugin does not support")))
        g_warnings->append(text);
    if (g_previousHandler) g_previousHandler(type, context, text);
}

} // namespace

struct Monkey::Impl {
    enum Kind { Click, Press, Release, Move, Drag, Key, CloseWindow, Jump };

    std::mt19937_64 rng;
    std::uint64_t seed;
    testsupport::RecordingPlatform& desktop;
    bool trace = false;
    MonkeyReport report;
    int event = 0;
    QString doing; // the event in hand, for the failure message

    Qt::MouseButtons held;
    QPointer<QWidget> grab; // the window that took the first press while buttons are held, as the system does
    int shellRequestsSeen = 0;
    QStringList warnings;
    quint64 reflexGeneration = 0;
    QList<QPointF> cards;

    Impl(std::uint64_t s, testsupport::RecordingPlatform& d) : rng(s), seed(s), desktop(d) {}

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    double unit() { return std::uniform_real_distribution<double>(0, 1)(rng); }
    bool chance(double p) { return unit() < p; }

    void fail(const QString& why) {
        if (report.failure.isEmpty())
            report.failure =
                QStringLiteral("seed %1, event %2 (%3): %4").arg(seed).arg(event).arg(doing, why);
    }
    void describe(const QString& what) {
        doing = what;
        report.trail = qHash(what, report.trail);
        if (trace) std::printf("event %d: %s\n", event, qPrintable(what));
    }

    // ---- Where events land ----

    QWidget* visibleWindow(const char* name) {
        Form* f = loadedScreen(QString::fromLatin1(name));
        return f && f->hWnd() && f->hWnd()->isVisible() ? f->hWnd() : nullptr;
    }

    QWidget* pickWindow() {
        if (held && grab && grab->isVisible()) return grab;
        QWidget* jotter = visibleWindow(kJotter);
        QWidget* backdrop = visibleWindow(kBackdrop);
        const double r = unit();
        if (jotter && r < 0.3) return jotter;
        if (backdrop && r > 0.95) return backdrop;
        if (Form* front = frontScreen()) return front->hWnd();
        return jotter ? jotter : backdrop;
    }

    // Controls that answer the pointer are picked four times as often; in name order, as the form keeps its
    // controls in a hash whose order changes from run to run, and a seed must not.
    Control* pickControl(QWidget* window, bool preferInteractive = true) {
        QList<Control*> shown, pool;
        if (Form* f = formOf(window))
            for (Control* c : f->controls())
                if (c->isVisibleTo(window)) shown << c;
        std::sort(shown.begin(), shown.end(),
                  [](const Control* a, const Control* b) { return a->objectName() < b->objectName(); });
        for (Control* c : shown) {
            const Handlers& h = c->Parent().handlers(c->Name());
            const bool interactive =
                h.click || h.mouseDown || h.mouseUp || h.mouseMove || qobject_cast<ComboBox*>(c);
            for (int i = preferInteractive && c->isEnabled() && interactive ? 4 : 1; i > 0; --i)
                pool << c;
        }
        return pool.isEmpty() ? nullptr : pool[uniform(0, int(pool.size()) - 1)];
    }

    // The title's Exit ends the program; the class is not allowed near it.
    bool forbidden(QWidget* window, QPoint at) {
        Form* f = formOf(window);
        Control* exit = f && f->Name() == QLatin1String(kFirstScreen)
                            ? tour::control(*f, QString::fromLatin1(kTitleExit))
                            : nullptr;
        return exit &&
               QRect(exit->mapTo(window, QPoint(0, 0)), exit->size()).adjusted(-2, -2, 2, 2).contains(at);
    }

    QPoint pickPoint(QWidget* window, bool mayLeave) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            QPoint at;
            const double r = unit();
            Control* c = r < 0.65 ? pickControl(window) : nullptr;
            if (c && c->width() > 0 && c->height() > 0)
                at = c->mapTo(window, QPoint(uniform(0, c->width() - 1), uniform(0, c->height() - 1)));
            else if (mayLeave && r > 0.92)
                at = QPoint(uniform(-120, window->width() + 120), uniform(-120, window->height() + 120));
            else
                at = QPoint(uniform(0, window->width() - 1), uniform(0, window->height() - 1));
            if (!forbidden(window, at)) return at;
        }
        return QPoint(1, 1);
    }

    // Near another control: drops land around slots and outlines, on both sides of their catch bounds.
    QPoint pickDropPoint(QWidget* window) {
        Control* c = pickControl(window, false);
        if (!c || chance(0.2)) return pickPoint(window, true);
        const QPoint at = c->mapTo(window, c->rect().center()) +
                          QPoint(uniform(-c->width(), c->width()), uniform(-c->height(), c->height()));
        return forbidden(window, at) ? QPoint(1, 1) : at;
    }

    Qt::MouseButton pickButton() {
        const double r = unit();
        return r < 0.7 ? Qt::LeftButton : r < 0.9 ? Qt::RightButton : Qt::MiddleButton;
    }

    Qt::KeyboardModifiers pickModifiers() {
        return chance(0.9) ? Qt::NoModifier : chance(0.5) ? Qt::ShiftModifier : Qt::ControlModifier;
    }

    // ---- Primitive input, each followed by the checks ----

    // With no button down the system gives a pointer event to the window on top at that point; with one down,
    // to the window where it went down. A window may go while an event is under way; the rest of the event
    // then lands nowhere, as the pen would on a screen that has gone.
    void landOnTop(QPointer<QWidget>& w, QPoint& at) {
        if (held || !w) return;
        const QPoint global = w->mapToGlobal(at);
        const QList<Form*> order = Runtime::stackingOrder();
        for (auto it = order.crbegin(); it != order.crend(); ++it) {
            QWidget* top = (*it)->hWnd();
            if (top && top->isVisible() && top->frameGeometry().contains(global)) {
                at = top->mapFromGlobal(global);
                w = top;
                return;
            }
        }
    }

    // The pointer moves to where it presses or releases first, as the system delivers it.
    void press(QPointer<QWidget> w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers m = Qt::NoModifier) {
        if (held & b) release(w, b, at); // a button that is down comes up before it can go down again
        landOnTop(w, at);
        move(w, at);
        const Qt::MouseButtons before = held;
        if (!held) grab = w;
        held |= b;
        if (QWindow* h = w ? w->windowHandle() : nullptr) QTest::mousePress(h, b, m, at);
        step(Press, before);
    }
    void release(QPointer<QWidget> w, Qt::MouseButton b, QPoint at) {
        landOnTop(w, at);
        move(w, at);
        const Qt::MouseButtons before = held;
        held &= ~b;
        if (QWindow* h = w ? w->windowHandle() : nullptr) QTest::mouseRelease(h, b, Qt::NoModifier, at);
        if (!held) grab = nullptr;
        step(Release, before);
    }
    void move(QPointer<QWidget> w, QPoint at) {
        landOnTop(w, at);
        if (QWindow* h = w ? w->windowHandle() : nullptr) QTest::mouseMove(h, at);
        step(Move, held);
    }

    void releaseAll() {
        for (Qt::MouseButton b : kButtons) {
            if (!(held & b)) continue;
            if (QWidget* w = grab && grab->isVisible() ? grab.data() : pickWindow())
                release(w, b, QPoint(1, 1));
            else
                held &= ~b;
        }
        grab = nullptr;
    }

    void step(Kind kind, Qt::MouseButtons before) {
        settle();
        checkReflex(kind, before);
        checkProgram();
    }

    // ---- The events ----

    void runEvent() {
        static constexpr int weights[] = {39, 8, 8, 14, 19, 5, 1, 3}; // in the order of Kind
        const Kind kind = Kind(std::discrete_distribution<int>(std::begin(weights), std::end(weights))(rng));
        QPointer<QWidget> w = pickWindow();
        if (!w) return restart();
        const QString where = QStringLiteral(" on ") + (formOf(w) ? formOf(w)->Name() : QStringLiteral("?"));
        switch (kind) {
        case Click: // mostly left; a list it opens is picked from or left open for the next event
        case Press:
        case Release: { // any button, held or not
            Qt::MouseButton b = kind == Click && chance(0.75) ? Qt::LeftButton : pickButton();
            if (kind == Release && held && chance(0.8))
                b = *std::find_if(std::begin(kButtons), std::end(kButtons), [&](auto x) { return held & x; });
            const QPoint at = pickPoint(w, kind == Release);
            const QString name = QLatin1String(kind == Click   ? "click "
                                               : kind == Press ? "press "
                                                               : "release ");
            describe(name + text(b) + QStringLiteral(" at ") + text(at) + where);
            if (kind != Release) press(w, b, at, pickModifiers());
            if (kind != Press) release(w, b, at);
            if (kind == Click) pickFromList();
            break;
        }
        case Move: {
            const int steps = uniform(1, 6);
            describe(QStringLiteral("%1 moves holding %2").arg(steps).arg(text(held)) + where);
            for (int i = 0; i < steps && w; ++i)
                move(w, held ? pickDropPoint(w) : pickPoint(w, true));
            break;
        }
        case Drag: { // cards onto slots, strokes on the Jotter
            const QPoint from = pickPoint(w, false), to = pickDropPoint(w);
            const Qt::MouseButton b = chance(0.85) ? Qt::LeftButton : pickButton();
            const int steps = uniform(1, 10);
            describe(QStringLiteral("drag %1 from %2 to %3 in %4 steps")
                         .arg(text(b), text(from), text(to))
                         .arg(steps) +
                     where);
            press(w, b, from);
            for (int i = 1; i <= steps; ++i)
                move(w, from + (to - from) * i / steps);
            release(w, b, to);
            break;
        }
        case Key: { // Ctrl+J most often; keys go to an open list first
            static const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_J, Qt::ControlModifier},
                                                                             {Qt::Key_J, Qt::ControlModifier},
                                                                             {Qt::Key_Escape, {}},
                                                                             {Qt::Key_Return, {}},
                                                                             {Qt::Key_Space, {}},
                                                                             {Qt::Key_Tab, {}},
                                                                             {Qt::Key_Down, {}},
                                                                             {Qt::Key_A, {}},
                                                                             {Qt::Key_J, {}},
                                                                             {Qt::Key_J, Qt::ShiftModifier},
                                                                             {Qt::Key_F4, Qt::AltModifier}};
            const auto& [key, mods] = keys[uniform(0, int(std::size(keys)) - 1)];
            describe(QStringLiteral("key %1 (modifiers %2)").arg(int(key)).arg(int(mods)) + where);
            QWidget* target =
                QApplication::activePopupWidget() ? QApplication::activePopupWidget() : w.data();
            if (QWindow* h = target ? target->windowHandle() : nullptr) QTest::keyClick(h, key, mods);
            break;
        }
        case CloseWindow:
            describe(QStringLiteral("the window manager's close") + where);
            if (w) w->close();
            break;
        case Jump: {
            const QStringList screens = reachableScreens();
            const QString target = screens[uniform(0, int(screens.size()) - 1)];
            describe(QStringLiteral("go to %1 by clicks").arg(target));
            releaseAll();
            tour::open(target);
            break;
        }
        }
        if (kind >= Key) step(kind, held);
    }

    // A list left open: half the time a shown name is picked, else it stays open for the next event.
    void pickFromList() {
        QWidget* popup = QApplication::activePopupWidget();
        auto* view = popup && chance(0.5) ? popup->findChild<QAbstractItemView*>() : nullptr;
        if (!view || !view->model()) return;
        QList<QPoint> rows;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QRect r = view->visualRect(view->model()->index(row, 0));
            if (view->viewport()->rect().contains(r.center()))
                rows << view->viewport()->mapTo(popup, r.center());
        }
        if (rows.isEmpty()) return;
        QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          rows[uniform(0, int(rows.size()) - 1)]);
        step(Click, held);
    }

    // ---- The rules ----

    // As a new start of the program: the runtime afresh, and the one program-wide flag back to its start
    // value.
    static void freshProgram() {
        testsupport::freshRuntime();
        hidedesktop = 0;
    }

    void restart() {
        ++report.restarts;
        freshProgram();
        start();
        // The system forgets buttons held on windows that are gone.
        if (QWidget* w = pickWindow())
            for (Qt::MouseButton b : kButtons)
                if (held & b) QTest::mouseRelease(w->windowHandle(), b, Qt::NoModifier, QPoint(1, 1));
        held = {};
        grab = nullptr;
        cards.clear();
        reflexGeneration = 0;
        settle();
    }

    void checkProgram() {
        if (!warnings.isEmpty()) fail(QStringLiteral("Qt warned: %1").arg(warnings.takeFirst()));
        warnings.clear();
        if (!desktop.errorReports.isEmpty())
            return fail(QStringLiteral("the runtime's error report: %1").arg(desktop.errorReports.first()));
        if (Runtime::ended()) {
            if (Runtime::exitCode() != 0)
                fail(QStringLiteral("the program ended with status %1").arg(Runtime::exitCode()));
            else
                restart(); // the window manager's close on the title screen ends the run
            return;
        }
        int menus = 0, guides = 0;
        bool needsOpening = false;
        QSet<const QWidget*> windows;
        for (Form* f : Runtime::loadedForms()) {
            const QString& name = f->Name();
            report.screensSeen.insert(name);
            const bool menu = kMenu.match(name).hasMatch(), guide = kGuide.match(name).hasMatch();
            menus += menu;
            guides += guide;
            needsOpening |= menu || guide || kActivities.contains(name);
            if (!f->hWnd()) fail(name + QStringLiteral(" is loaded without a window"));
            windows.insert(f->hWnd());
        }
        const QString loaded = names(Runtime::loadedForms());
        if (needsOpening && !loadedScreen(QString::fromLatin1(kOpening)))
            fail(QStringLiteral("the opening screen is not loaded under ") + loaded);
        if (menus > 1) fail(QStringLiteral("%1 menus loaded: %2").arg(menus).arg(loaded));
        if (guides > 1) fail(QStringLiteral("%1 guide pages loaded: %2").arg(guides).arg(loaded));
        const QList<Form*> order = Runtime::stackingOrder();
        if (visibleWindow(kJotter) && (order.isEmpty() || order.last()->hWnd() != visibleWindow(kJotter)))
            fail(QStringLiteral("the Jotter is open but not in front: ") + names(order));
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && !windows.contains(top) && top->windowType() != Qt::Popup)
                fail(QStringLiteral("a stray window is shown: %1 %2")
                         .arg(QString::fromLatin1(top->metaObject()->className()), top->objectName()));
        if (Screen.MousePointer() != vbDefault || QGuiApplication::overrideCursor())
            fail(QStringLiteral("the pointer was left as the hourglass"));
        for (; shellRequestsSeen < desktop.opened.size(); ++shellRequestsSeen) {
            const auto& r = desktop.opened[shellRequestsSeen];
            if (r.verb != QLatin1String("open") ||
                (r.target != QLatin1String(kPublisherAddress) && r.target != QLatin1String(kGuideDocument)))
                fail(QStringLiteral("the shell was asked to %1 \"%2\"").arg(r.verb, r.target));
        }
    }

    // Cards move only while the left button alone drags them, and come to rest on a slot, on an outline, or
    // outside every catch area.
    void checkReflex(Kind kind, Qt::MouseButtons before) {
        Form* f = loadedScreen(QStringLiteral("reflex"));
        if (!f) {
            cards.clear();
            return;
        }
        QList<Box> boxes;
        QList<QPointF> now;
        for (int i = 0; i < 6; ++i) {
            for (const char* name : {"Label1", "Label4"})
                if (Control* c = f->findControl(QString::fromLatin1(name), i))
                    boxes << Box{c->Left(), c->Top(), c->Width(), c->Height()};
            if (Control* c = f->findControl(QStringLiteral("Label2"), i)) now << QPointF(c->Left(), c->Top());
        }
        auto onBox = [&](const QPointF& p) {
            return std::any_of(boxes.cbegin(), boxes.cend(), [&](const Box& b) {
                return Single(p.x()) == b.left && Single(p.y()) == b.top;
            });
        };
        auto card = [&](int i, QPointF p) {
            return QStringLiteral("card %1 at (%2, %3)").arg(i).arg(p.x()).arg(p.y());
        };
        const bool fresh = f->generation() != reflexGeneration || cards.size() != now.size();
        const bool dragging = kind == Move && before == Qt::LeftButton;
        for (int i = 0; i < now.size(); ++i) {
            const QPointF p = now[i];
            if (fresh) {
                if (!onBox(p)) fail(card(i, p) + QStringLiteral(" starts off its outline"));
                continue;
            }
            if (p != cards[i] && !onBox(p) && !dragging)
                fail(card(i, cards[i]) + QStringLiteral(" moved to (%1, %2) with %3 held")
                                             .arg(p.x())
                                             .arg(p.y())
                                             .arg(text(before)));
            if (!held && !onBox(p))
                for (const Box& b : boxes)
                    if (inCatchArea(Single(p.x()), Single(p.y()), b))
                        fail(card(i, p) + QStringLiteral(" rests in the catch area of the box at (%1, %2)")
                                              .arg(b.left)
                                              .arg(b.top));
        }
        cards = now;
        reflexGeneration = f->generation();
    }
};

MonkeyReport Monkey::run(int events, bool trace) {
    Impl m(m_seed, m_desktop);
    m.trace = trace;
    Impl::freshProgram();
    g_warnings = &m.warnings;
    // A list box measures in real time how soon a release follows the press that opened it; with no
    // double-click time its answer does not depend on the machine's load, and a seed replays exactly.
    QStyleHints* hints = QGuiApplication::styleHints();
    const int doubleClick = hints->mouseDoubleClickInterval();
    hints->setMouseDoubleClickInterval(0);
    g_previousHandler = qInstallMessageHandler(collectWarnings);
    start();
    m.checkProgram();
    for (m.event = 0; m.event < events && m.report.failure.isEmpty(); ++m.event) {
        if (m_beforeEvent) {
            m.doing = QStringLiteral("before the event");
            m.releaseAll();
            m_beforeEvent(m.event);
            m.step(Impl::Jump, m.held);
            if (!m.report.failure.isEmpty()) break;
        }
        m.runEvent();
        m.report.events = m.event + 1;
    }
    m.releaseAll();
    hints->setMouseDoubleClickInterval(doubleClick);
    qInstallMessageHandler(g_previousHandler);
    g_warnings = nullptr;
    return m.report;
}

} // namespace tour
