// Reaching, leaving and working screens by real clicks, knowing them only by window and control names: the
// in-process tour and the driver inside the real program walk the same way.
#pragma once

#include "routes.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWindow>

#include <functional>

namespace tour {

// The ways between screens as text, for the driver inside the real program: "screen,from,open,close" each.
inline QString routesText(const QList<Route>& routes) {
    QStringList ways;
    for (const Route& r : routes)
        ways << QStringList{r.screen, r.from, r.open, r.close}.join(u',');
    return ways.join(u' ');
}
inline QList<Route> routesFromText(const QString& text) {
    QList<Route> routes;
    for (const QString& way : text.split(u' ', Qt::SkipEmptyParts))
        if (const QStringList f = way.split(u','); f.size() == 4) routes.append({f[0], f[1], f[2], f[3]});
    return routes;
}

// Clicks row `row` of the open list when the list is open and the row shown; false otherwise.
inline bool pickListRow(int row) {
    QWidget* popup = QApplication::activePopupWidget();
    auto* view = popup ? popup->findChild<QAbstractItemView*>() : nullptr;
    if (!view || !view->model() || row >= view->model()->rowCount()) return false;
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    if (!view->viewport()->rect().contains(at)) return false;
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      view->viewport()->mapTo(popup, at));
    return true;
}

struct Walker {
    std::function<QWidget*()> front;                // the front screen, the Jotter and the backdrop aside
    int patience = 0;                               // how long, in ms, a screen may take to come or go
    QList<Route> routes;                            // how each screen is reached and left
    std::function<void(const QString&)> afterClick; // told "screen control" after every click it makes
    bool byKeys = false; // no pointer: Tab to a control, then Space or Enter; keys in lists

    const Route* routeTo(const QString& screen) const {
        for (const Route& r : routes)
            if (r.screen == screen) return &r;
        return nullptr;
    }

    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QWidget* window(const QString& screen) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == screen && w->isVisible()) return w;
        return nullptr;
    }
    QString frontName() const {
        QWidget* w = front();
        return w ? w->objectName() : QString();
    }
    // Runs events until `ready` holds; false when it does not within `ms` (the patience unless given).
    bool until(const std::function<bool()>& ready, int ms = -1) const {
        QElapsedTimer t;
        t.start();
        for (settle(); !ready(); settle())
            if (t.elapsed() >= (ms < 0 ? patience : ms) || QCoreApplication::closingDown()) return false;
        return true;
    }

    // A left click in the middle of a shown, enabled, uncovered control (or by keys, its press); a list it
    // opens gets its first name picked, as a teacher would.
    bool click(const QString& screen, const QString& control) const {
        QWidget* w = window(screen);
        QWidget* c = w ? w->findChild<QWidget*>(control) : nullptr;
        if (!c || !c->isVisible() || !c->isEnabled() || !w->windowHandle()) return false;
        auto reached = [&] { return w->focusWidget() == c || c->isAncestorOf(w->focusWidget()); };
        for (qsizetype stops = w->findChildren<QWidget*>().size(); byKeys && stops >= 0 && !reached();
             --stops)
            QTest::keyClick(w->windowHandle(), Qt::Key_Tab);
        if (byKeys && !reached()) return false;
        if (byKeys) { // Space on some, Enter on others
            QTest::keyClick(w->windowHandle(), c->objectName().size() % 2 ? Qt::Key_Space : Qt::Key_Return);
        } else {
            const QPoint at = c->mapTo(w, c->rect().center());
            QWidget* hit = w->childAt(at);
            if (!w->rect().contains(at) || !(hit == c || c->isAncestorOf(hit))) return false;
            QTest::mouseMove(w->windowHandle(), at);
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        }
        settle();
        if (QWidget* popup = QApplication::activePopupWidget(); popup && byKeys) {
            QTest::keySequence(popup->windowHandle(), QKeySequence(Qt::Key_Down, Qt::Key_Return));
            settle();
        } else if (popup) {
            pickListRow(0);
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            settle();
        }
        if (afterClick) afterClick(screen + u' ' + control);
        return true;
    }

    // Closes `screen` by its own control, after whatever lies over it.
    bool close(const QString& screen, int depth = 0) const {
        if (!window(screen) || depth > 20) return false;
        if (screen == QLatin1String(kBackdrop))
            return open(QLatin1String(kOpening), depth + 1) &&
                   click(QLatin1String(kOpening), QStringLiteral("Check1")) &&
                   until([&] { return !window(screen); });
        if (screen == QLatin1String(kJotter)) // whichever toolbar is showing has its own Exit
            return click(screen, QStringLiteral("Command1")) || click(screen, QStringLiteral("Command9"));
        const Route* r = routeTo(screen);
        return r && toFront(screen, depth) && click(screen, r->close) &&
               until([&] { return frontName() != screen; });
    }

    // Brings `screen` up by clicks from wherever the program stands.
    bool open(const QString& screen, int depth = 0) const {
        if (depth > 20) return false;
        if (screen == QLatin1String(kJotter)) {
            if (QWidget* f = front()) QTest::keyClick(f->windowHandle(), Qt::Key_J, Qt::ControlModifier);
            return until([&] { return window(screen); });
        }
        if (screen == QLatin1String(kBackdrop) && window(screen)) return true;
        if (window(screen) || screen == QLatin1String(kFirstScreen)) return toFront(screen, depth);
        const Route* r = routeTo(screen);
        if (!r || r->from.isEmpty() || !open(r->from, depth + 1) || !click(r->from, r->open)) return false;
        return until([&] { return window(screen); });
    }

    // Clicks every shown control once (the title's Exit never), reopening the screen whenever a click led
    // away; on the Jotter also draws a stroke.
    void exercise(const QString& screen) const {
        QStringList names;
        for (QWidget* c : window(screen)->findChildren<QWidget*>())
            if (c->isVisible() && !c->objectName().isEmpty() &&
                !c->objectName().startsWith(QLatin1String("qt_")))
                names << c->objectName();
        names.sort(); // the same order on every run
        for (const QString& name : names)
            if (!(screen == QLatin1String(kFirstScreen) && name == QLatin1String(kTitleExit)) && open(screen))
                click(screen, name);
        if (screen == QLatin1String(kJotter) && !byKeys && open(screen)) write();
    }
    bool write() const {
        QWindow* h = window(QLatin1String(kJotter))->windowHandle();
        QTest::mousePress(h, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(h, QPoint(20 + 30 * i, 20 + 5 * i));
        QTest::mouseRelease(h, Qt::LeftButton, Qt::NoModifier, QPoint(260, 60));
        settle();
        return true;
    }

    // Opens, exercises and closes each screen in turn; returns those that were shown.
    QStringList tour(const QStringList& screens) const {
        QStringList shown;
        for (const QString& name : screens) {
            if (!open(name)) continue;
            shown << name;
            exercise(name);
            if (name != QLatin1String(kFirstScreen)) close(name);
        }
        open(QLatin1String(kFirstScreen));
        return shown;
    }

private:
    bool toFront(const QString& screen, int depth) const {
        for (int guard = 0; guard < 20 && frontName() != screen; ++guard)
            if (!front() || !close(frontName(), depth + 1)) return false;
        return frontName() == screen;
    }
};

} // namespace tour
