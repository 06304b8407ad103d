#include "tour.h"

#include "registry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWindow>

#ifdef ZB_HAVE_JOTTERACCESS
#include "jotteraccess.h"
#endif

using namespace vb;

namespace tour {

namespace {
bool g_jotterKey = false;

bool isAside(const Form* f) {
    return f->Name() == QLatin1String(kJotter) || f->Name() == QLatin1String(kBackdrop);
}

// A route can be taken when every screen on the way to it is in the program.
bool reachable(const QString& name, int depth = 0) {
    if (depth > 20 || !screenByName(name)) return false;
    if (name == QLatin1String(kFirstScreen)) return true;
    const Route* r = routeTo(name);
    if (!r) return false;
    if (!r->from) return name != QLatin1String(kJotter) || g_jotterKey;
    return reachable(QString::fromLatin1(r->from), depth + 1);
}

// A popup list left open by a click on a list box: pick its first shown name, as a teacher would pick one.
void pickFromOpenList() {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) return;
    auto* view = popup->findChild<QAbstractItemView*>();
    if (view && view->model() && view->model()->rowCount() > 0) {
        const QRect item = view->visualRect(view->model()->index(0, 0));
        QWidget* vp = view->viewport();
        const QPoint at = vp->mapTo(popup, item.center());
        QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->close();
    settle();
}
} // namespace

void start() {
    Form* title = screenByName(QString::fromLatin1(kFirstScreen));
    Runtime::dispatch([title] { title->Show(); });
    settle();
}

void enableJotterKey() {
#ifdef ZB_HAVE_JOTTERACCESS
    static jotter::JotterAccess* access = nullptr;
    if (!access) access = new jotter::JotterAccess(qApp);
    g_jotterKey = true;
#endif
}

bool haveJotterKey() {
    return g_jotterKey;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Form* frontScreen() {
    const QList<Form*> order = Runtime::stackingOrder();
    for (auto it = order.crbegin(); it != order.crend(); ++it)
        if (!isAside(*it) && (*it)->isLoaded() && (*it)->hWnd() && (*it)->hWnd()->isVisible()) return *it;
    return nullptr;
}

Form* loadedScreen(const QString& name) {
    Form* f = screenByName(name);
    return f && f->isLoaded() ? f : nullptr;
}

Control* control(const Form& f, const QString& objectName) {
    if (!f.isLoaded()) return nullptr;
    for (Control* c : f.controls())
        if (c->objectName() == objectName) return c;
    return nullptr;
}

bool clickControl(const Form& f, const QString& objectName) {
    Control* c = control(f, objectName);
    if (!c || !c->isVisible() || !c->isEnabled() || !f.hWnd()) return false;
    QWidget* window = f.hWnd();
    QWindow* handle = window->windowHandle();
    const QPoint at = c->mapTo(window, c->rect().center());
    // Only what is not covered by another control can be clicked.
    QWidget* hit = window->childAt(at);
    if (!handle || !window->rect().contains(at) || !(hit == c || c->isAncestorOf(hit))) return false;
    QTest::mouseMove(handle, at);
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, at);
    settle();
    pickFromOpenList();
    return true;
}

void pressCtrlJ() {
    Form* f = frontScreen();
    QWidget* w = f ? f->hWnd() : nullptr;
    if (!w || !w->windowHandle()) return;
    QTest::keyClick(w->windowHandle(), Qt::Key_J, Qt::ControlModifier);
    settle();
}

const Route* routeTo(const QString& screen) {
    for (const Route& r : kRoutes)
        if (screen == QLatin1String(r.screen)) return &r;
    return nullptr;
}

QStringList reachableScreens() {
    QStringList names;
    for (const ScreenInfo& s : allScreens())
        if (reachable(s.name)) names << s.name;
    return names;
}

bool close(const QString& screen) {
    Form* f = loadedScreen(screen);
    if (!f) return false;
    if (screen == QLatin1String(kBackdrop))
        return open(QString::fromLatin1(kOpening)) &&
               clickControl(*loadedScreen(QString::fromLatin1(kOpening)), QStringLiteral("Check1")) &&
               !loadedScreen(screen);
    if (screen == QLatin1String(kJotter)) {
        // Whichever toolbar is showing has its own Exit.
        return clickControl(*f, QStringLiteral("Command1")) || clickControl(*f, QStringLiteral("Command9"));
    }
    const Route* r = routeTo(screen);
    if (!r) return false;
    for (int guard = 0; guard < 20 && frontScreen() && frontScreen() != f; ++guard)
        if (!close(frontScreen()->Name())) return false;
    return clickControl(*f, QString::fromLatin1(r->close)) && !(f->isLoaded() && frontScreen() == f);
}

bool open(const QString& screen) {
    if (!reachable(screen)) return false;
    if (screen == QLatin1String(kJotter)) {
        pressCtrlJ();
        return loadedScreen(screen);
    }
    Form* target = screenByName(screen);
    if (screen == QLatin1String(kBackdrop) && target->isLoaded()) return true;
    // Anything lying over the screen is closed first, as the board shows only the front screen.
    if (target->isLoaded() && screen != QLatin1String(kFirstScreen)) {
        for (int guard = 0; guard < 20 && frontScreen() != target; ++guard) {
            Form* front = frontScreen();
            if (!front || !close(front->Name())) return false;
        }
        return true;
    }
    if (screen == QLatin1String(kFirstScreen)) {
        for (int guard = 0; guard < 20; ++guard) {
            Form* front = frontScreen();
            if (front == target) return true;
            if (!front) {
                start();
                continue;
            }
            if (!close(front->Name())) return false;
        }
        return false;
    }
    const Route* r = routeTo(screen);
    const QString from = QString::fromLatin1(r->from);
    if (!open(from)) return false;
    if (!clickControl(*screenByName(from), QString::fromLatin1(r->open))) return false;
    return target->isLoaded();
}

int exercise(const QString& screen) {
    if (!open(screen)) return 0;
    Form* f = screenByName(screen);
    QStringList names;
    for (Control* c : f->controls())
        if (c->isVisibleTo(f->hWnd())) names << c->objectName();
    names.sort(); // the same order on every run
    int clicks = 0;
    for (const QString& name : names) {
        if (screen == QLatin1String(kFirstScreen) && name == QLatin1String(kTitleExit)) continue;
        if (!open(screen)) break;
        if (clickControl(*f, name)) ++clicks;
    }
    if (screen == QLatin1String(kJotter) && open(screen)) {
        // A stroke across the page, clear of the toolbar.
        QWindow* w = f->hWnd()->windowHandle();
        const QPoint from(20, 20), to(f->hWnd()->width() / 2, 60);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(w, from + (to - from) * i / 8);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
        settle();
    }
    return clicks;
}

QStringList fullTour() {
    QStringList shown;
    if (!frontScreen()) start();
    for (const QString& name : reachableScreens()) {
        if (!open(name)) continue;
        shown << name;
        exercise(name);
        if (name != QLatin1String(kFirstScreen)) close(name);
    }
    open(QString::fromLatin1(kFirstScreen));
    return shown;
}

} // namespace tour
