#include "tour.h"

#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "jotteraccess.h"
#include "registry.h"
#include "walker.h"

#include <QAccessible>

using namespace vb;

namespace tour {

namespace {
bool g_jotterKey = false;
QString g_broken;

const Walker& walker() {
    static const Walker w{
        []() -> QWidget* { return frontScreen() ? frontScreen()->hWnd() : nullptr; }, 0, routes(),
        [](const QString& click) {
            if (const QString broken = brokenRule(); g_broken.isEmpty() && !broken.isEmpty())
                g_broken = QStringLiteral("after %1: %2").arg(click, broken);
        }};
    return w;
}

// Tab goes through a screen's controls by TabIndex, the elements of an array one after another; or the first
// control out of place. Qt's focus chain is a ring through the window: it is read from the first control.
QString outOfKeyOrder(const Form& f) {
    QWidget* window = f.hWnd();
    QList<Control*> walked;
    for (QWidget* w = window ? window->nextInFocusChain() : nullptr; w && w != window;
         w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->window() == window)
            if (auto* c = qobject_cast<Control*>(qobject_cast<Control*>(w) ? w : w->parentWidget());
                c && !walked.contains(c)) // a list's box stands for its list
                walked << c;
    QList<Control*> order = walked;
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return std::pair(a->TabIndex(), a->Index()) < std::pair(b->TabIndex(), b->Index());
    });
    if (!walked.isEmpty())
        std::rotate(walked.begin(), walked.begin() + walked.indexOf(order[0]), walked.end());
    for (qsizetype i = 0; i < order.size(); ++i)
        if (walked[i] != order[i] || (i > 1 && order[i]->Name() != order[i - 1]->Name() &&
                                      std::any_of(order.begin(), order.begin() + i - 1,
                                                  [&](Control* c) { return c->Name() == order[i]->Name(); })))
            return walked[i]->objectName();
    return QString();
}

bool reachedThrough(const QString& name, const QString& through) {
    for (const ScreenInfo* s = screenInfo(name); s && !s->from.isEmpty(); s = screenInfo(s->from))
        if (s->from == through) return true;
    return false;
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

QList<Route> routes() {
    QList<Route> all;
    for (const ScreenInfo& s : allScreens())
        all.append({s.name, s.from, s.open, s.close});
    return all;
}

QStringList reachableScreens() {
    QStringList names;
    for (const ScreenInfo& s : allScreens())
        if (s.name != QLatin1String(kJotter) || g_jotterKey) names << s.name;
    return names;
}

bool open(const QString& screen) {
    if (!reachableScreens().contains(screen)) return false;
    if (!frontScreen()) start();
    return walker().open(screen);
}

bool close(const QString& screen) {
    return walker().close(screen);
}

QString brokenRule() {
    QStringList loaded, spoken; // and what a screen reader calls each screen
    int menus = 0, pages = 0;
    for (Form* f : Runtime::loadedForms()) {
        loaded << f->Name();
        menus += dynamic_cast<TopicMenu*>(f) != nullptr;
        pages += dynamic_cast<TeacherGuidePage*>(f) != nullptr;
        if (f->hWnd() && !f->StaysAtBottom())
            spoken << QAccessible::queryAccessibleInterface(f->hWnd())->text(QAccessible::Name).trimmed();
    }
    if (menus > 1 || pages > 1)
        return QStringLiteral("more than one menu or guide page loaded: ") + loaded.join(u',');
    for (Form* f : Runtime::loadedForms())
        if (const QString c = outOfKeyOrder(*f); !c.isEmpty())
            return QStringLiteral("Tab reaches %1 out of order on %2").arg(c, f->Name());
    if (spoken.contains(QString()) || spoken.removeDuplicates())
        return QStringLiteral("screens a screen reader cannot tell apart: ") + spoken.join(u',');
    for (const QString& name : loaded)
        if (name != QLatin1String(kBackdrop) && reachedThrough(name, QLatin1String(kOpening)) &&
            !loaded.contains(QLatin1String(kOpening)))
            return QStringLiteral("the opening screen is not loaded under ") + loaded.join(u',');
    const QList<Form*> order = Runtime::stackingOrder();
    if (Walker::window(QLatin1String(kJotter)) && order.last()->Name() != QLatin1String(kJotter))
        return QStringLiteral("the Jotter is open but not in front of ") + order.last()->Name();
    if (auto* desktop = dynamic_cast<testsupport::RecordingPlatform*>(&Runtime::platform()))
        for (const auto& r : desktop->opened)
            if (r.verb != QLatin1String("open") ||
                (r.target != QLatin1String(kPublisherAddress) && r.target != QLatin1String(kGuideDocument)))
                return QStringLiteral("the shell was asked to %1 \"%2\"").arg(r.verb, r.target);
    return QString();
}

QString brokenOnTheWay() {
    return std::exchange(g_broken, QString());
}

} // namespace tour
