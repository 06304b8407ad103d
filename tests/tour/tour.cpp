#include "tour.h"

#include "jotteraccess.h"
#include "registry.h"
#include "walker.h"

using namespace vb;

namespace tour {

namespace {
bool g_jotterKey = false;

const Walker& walker() {
    static const Walker w{[]() -> QWidget* { return frontScreen() ? frontScreen()->hWnd() : nullptr; }};
    return w;
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
} // namespace

void start() {
    Form* title = screenByName(QString::fromLatin1(kFirstScreen));
    Runtime::dispatch([title] { title->Show(); });
    settle();
}

void enableJotterKey() {
    static auto* access = new jotter::JotterAccess(qApp);
    g_jotterKey = access != nullptr;
}

void settle() {
    Walker::settle();
}

Form* frontScreen() {
    const QList<Form*> order = Runtime::stackingOrder();
    for (auto it = order.crbegin(); it != order.crend(); ++it)
        if ((*it)->Name() != QLatin1String(kJotter) && (*it)->Name() != QLatin1String(kBackdrop) &&
            (*it)->isLoaded() && (*it)->hWnd() && (*it)->hWnd()->isVisible())
            return *it;
    return nullptr;
}

Form* loadedScreen(const QString& name) {
    Form* f = screenByName(name);
    return f && f->isLoaded() ? f : nullptr;
}

bool clickControl(const Form& f, const QString& objectName) {
    return walker().click(f.Name(), objectName);
}

QStringList reachableScreens() {
    QStringList names;
    for (const ScreenInfo& s : allScreens())
        if (reachable(s.name)) names << s.name;
    return names;
}

bool open(const QString& screen) {
    if (!reachable(screen)) return false;
    if (!frontScreen()) start();
    return walker().open(screen);
}

bool close(const QString& screen) {
    return walker().close(screen);
}

QStringList fullTour() {
    if (!frontScreen()) start();
    return walker().tour(reachableScreens());
}

} // namespace tour
