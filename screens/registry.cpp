#include "registry.h"

#include "Grey.h"
#include "TeacherGuide.h"
#include "Titlefrm.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "notepad.h"
#include "quadrat.h"
#include "reflex.h"
#include "sentence.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

template <class F>
ScreenInfo screen(const char* name, const char* from = "", const char* open = "", const char* close = "",
                  bool replacesOpener = false) {
    return {QLatin1String(name), &screenOf<F>,         QLatin1String(from),
            QLatin1String(open), QLatin1String(close), replacesOpener};
}
constexpr bool kReplaces = true;

// The screens ask this map which screen a control opens: a screen added here is opened by its menu, and a
// row changed here changes that way on the screen itself.
const bool g_screensAsk = [] {
    setScreenOpener([](const QString& from, const QString& control) -> FormGetter {
        for (const ScreenInfo& s : allScreens())
            if (s.from == from && s.open == control) return s.get;
        for (const Way& w : otherWays())
            if (w.from == from && w.control == control) {
                const ScreenInfo* to = screenInfo(w.to);
                return to ? to->get : nullptr;
            }
        return nullptr;
    });
    return true;
}();

// One screen a pause: a click that comes meanwhile waits for one screen's rehearsal at most.
void rehearseFrom(qsizetype i) {
    if (vb::Runtime::ended() || i >= allScreens().size()) return;
    allScreens()[i].get().rehearse();
    QTimer::singleShot(0, QCoreApplication::instance(), [i] { rehearseFrom(i + 1); });
}

} // namespace

void prepareScreensAhead() {
    if (vb::Runtime::ended()) return;
    vb::readPicturesAhead();
    // Every screen shows the hourglass while it is laid out, and the desktop's pointer theme is read from
    // disk the first time it is asked for.
    if (vb::Screen.MousePointer() == vb::vbDefault) {
        vb::Screen.setMousePointer(vb::vbHourglass);
        vb::Screen.setMousePointer(vb::vbDefault);
    }
    rehearseFrom(0);
}

const QList<ScreenInfo>& allScreens() {
    // Screen, the screen and control that open it, its own control that leaves it, and whether the opener
    // goes.
    static const QList<ScreenInfo> screens = {
        screen<Titlefrm>("Titlefrm"),
        screen<intro0>("intro0", "Titlefrm", "Command1", "Command1", kReplaces),
        screen<Grey>("Grey", "intro0", "Check1", "Check1"),
        screen<menu1>("menu1", "intro0", "Label2(0)", "Command1"),
        screen<menu2>("menu2", "intro0", "Label2(1)", "Command1"),
        screen<menu3>("menu3", "intro0", "Label2(2)", "Command1"),
        screen<menu4>("menu4", "intro0", "Label2(3)", "Command1"),
        screen<menu5>("menu5", "intro0", "Label2(4)", "Command1"),
        screen<TeacherGuide0>("TeacherGuide0", "intro0", "Label2(7)", "Label3(0)"),
        screen<TeacherGuide1>("TeacherGuide1", "TeacherGuide0", "Label3(1)", "Label3(0)", kReplaces),
        screen<TeacherGuide2>("TeacherGuide2", "TeacherGuide1", "Label3(1)", "Label3(0)", kReplaces),
        screen<TeacherGuide3>("TeacherGuide3", "TeacherGuide2", "Label3(1)", "Label3(0)", kReplaces),
        screen<TeacherGuide4>("TeacherGuide4", "TeacherGuide3", "Label3(1)", "Label3(0)", kReplaces),
        screen<TeacherGuide5>("TeacherGuide5", "TeacherGuide4", "Label3(1)", "Label3(0)", kReplaces),
        screen<reflex>("reflex", "menu2", "Label3(1)", "Label3(0)"),
        screen<quadrat>("quadrat", "menu1", "Label3(0)", "Label3(0)"),
        screen<sentence>("sentence", "menu5", "Label3(4)", "Label3(0)"),
        screen<notepad>("notepad", "", "", "Command1"),
    };
    return screens;
}

const QList<Way>& otherWays() {
    static const QList<Way> ways = [] {
        QList<Way> all;
        // The menu column of each menu: "Menu N" to menu N, for every number but the menu's own.
        for (int n = 1; n <= kTopicMenus; ++n)
            for (int to = 1; to <= kTopicMenus; ++to)
                if (to != n)
                    all.append({QStringLiteral("menu%1").arg(n), QStringLiteral("Label2(%1)").arg(to - 1),
                                QStringLiteral("menu%1").arg(to)});
        for (int page = 1; page < guide::kPageCount; ++page)
            all.append({QStringLiteral("TeacherGuide%1").arg(page), QStringLiteral("Label3(2)"),
                        QStringLiteral("TeacherGuide%1").arg(page - 1)});
        return all;
    }();
    return ways;
}

const ScreenInfo* screenInfo(const QString& name) {
    for (const ScreenInfo& s : allScreens())
        if (s.name == name) return &s;
    return nullptr;
}

vb::Form* screenByName(const QString& name) {
    const ScreenInfo* s = screenInfo(name);
    return s ? &s->get() : nullptr;
}
