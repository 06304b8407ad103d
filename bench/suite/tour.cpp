#include "tour.h"

#include "vb.h"

#include <QTest>
#include <QWindow>

namespace tour {

using drive::Input;
using drive::inThisBuild;
using drive::Step;

namespace {
const QString kTitle = QStringLiteral("Titlefrm");
const QString kOpening = QStringLiteral("intro0");

QString menu(int k) {
    return QStringLiteral("menu%1").arg(k);
}
QString page(int k) {
    return QStringLiteral("TeacherGuide%1").arg(k);
}

bool jotterCanOpen() {
#if __has_include("jotteraccess.h")
    return inThisBuild(QStringLiteral("notepad"));
#else
    return false;
#endif
}

struct Activity {
    int menu;
    int entry;
    const char* screen;
    const char* name;
};
const Activity kActivities[] = {
    {1, 0, "quadrat", "quadrat"}, {2, 1, "reflex", "reflex"}, {5, 4, "sentence", "sentence"}};

Step openMenu(int k) {
    return {QStringLiteral("opening -> menu%1").arg(k), {kOpening, "Label2", k - 1}, menu(k)};
}
Step exitMenu(int k) {
    return {QStringLiteral("menu%1 exit -> opening").arg(k), {menu(k), "Command1"}, kOpening, true, menu(k)};
}
Step menuToMenu(int from, int to) {
    return {QStringLiteral("menu%1 -> menu%2").arg(from).arg(to),
            {menu(from), "Label2", to - 1},
            menu(to),
            false,
            from == to ? QString() : menu(from)};
}
Step openActivity(const Activity& a) {
    return {QStringLiteral("menu%1 -> %2").arg(a.menu).arg(QLatin1String(a.name)),
            {menu(a.menu), "Label3", a.entry},
            QString::fromLatin1(a.screen)};
}
Step exitActivity(const Activity& a) {
    return {QStringLiteral("%1 exit -> menu%2").arg(QLatin1String(a.name)).arg(a.menu),
            {QString::fromLatin1(a.screen), "Label3", 0},
            menu(a.menu),
            true,
            QString::fromLatin1(a.screen)};
}
Step openGuide() {
    return {QStringLiteral("opening -> guide page 1"), {kOpening, "Label2", 7}, page(0)};
}
Step exitGuide(int k) {
    return {QStringLiteral("guide page %1 exit -> opening").arg(k + 1),
            {page(k), "Label3", 0},
            kOpening,
            true,
            page(k)};
}
Step nextPage(int k) {
    return {QStringLiteral("guide page %1 -> %2").arg(k + 1).arg(k + 2),
            {page(k), "Label3", 1},
            page(k + 1),
            false,
            page(k)};
}
Step previousPage(int k) {
    return {QStringLiteral("guide page %1 -> %2").arg(k + 1).arg(k),
            {page(k), "Label3", 2},
            page(k - 1),
            false,
            page(k)};
}
Step hideDesktop() {
    return {QStringLiteral("Hide Desktop on (backdrop)"), {kOpening, "Check1"}, QStringLiteral("Grey")};
}
Step showDesktop() {
    return {QStringLiteral("Hide Desktop off"), {kOpening, "Check1"}, kOpening, true, QStringLiteral("Grey")};
}
Step openJotter(const QString& over) {
    return {QStringLiteral("Ctrl+J on %1 -> Jotter").arg(over == kOpening ? QStringLiteral("opening") : over),
            {over, QString()},
            QStringLiteral("notepad")};
}
Step exitJotter(const QString& under) {
    return {QStringLiteral("Jotter exit"),
            {QStringLiteral("notepad"), "Command1"},
            under,
            true,
            QStringLiteral("notepad")};
}
} // namespace

Step titleToOpening() {
    return {QStringLiteral("title -> opening"), {kTitle, "Command1"}, kOpening, false, kTitle};
}
Step openingToTitle() {
    return {QStringLiteral("opening exit -> title"), {kOpening, "Command1"}, kTitle, false, kOpening};
}

QList<Sequence> navigations() {
    QList<Sequence> all;
    if (!inThisBuild(kOpening)) {
        if (jotterCanOpen()) all.append({kTitle, {}, {openJotter(kTitle), exitJotter(kTitle)}, {}});
        return all;
    }
    all.append({kTitle, {}, {titleToOpening(), openingToTitle()}, {}});
    if (inThisBuild(QStringLiteral("Grey"))) all.append({kOpening, {}, {hideDesktop(), showDesktop()}, {}});

    bool allMenus = true;
    for (int k = 1; k <= 5; ++k) {
        if (!inThisBuild(menu(k))) {
            allMenus = false;
            continue;
        }
        all.append({kOpening, {}, {openMenu(k), exitMenu(k)}, {}});
    }
    if (allMenus) {
        Sequence chain{kOpening, {openMenu(1)}, {}, {exitMenu(1)}};
        for (int k = 1; k <= 5; ++k)
            chain.cycle.append(menuToMenu(k, k % 5 + 1));
        all.append(chain);
    }
    for (const Activity& a : kActivities)
        if (inThisBuild(menu(a.menu)) && inThisBuild(QString::fromLatin1(a.screen)))
            all.append(
                {kOpening, {openMenu(a.menu)}, {openActivity(a), exitActivity(a)}, {exitMenu(a.menu)}});

    bool allPages = true;
    for (int k = 0; k < 6; ++k)
        allPages = allPages && inThisBuild(page(k));
    if (allPages) {
        all.append({kOpening, {}, {openGuide(), exitGuide(0)}, {}});
        Sequence pages{kOpening, {openGuide()}, {}, {exitGuide(0)}};
        for (int k = 0; k < 5; ++k)
            pages.cycle.append(nextPage(k));
        for (int k = 5; k > 0; --k)
            pages.cycle.append(previousPage(k));
        all.append(pages);
    }
    if (jotterCanOpen()) all.append({kOpening, {}, {openJotter(kOpening), exitJotter(kOpening)}, {}});
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
    out.append({kTitle, {}, {}});
    if (!inThisBuild(kOpening)) {
        if (jotterCanOpen())
            out.append({QStringLiteral("notepad"), {openJotter(kTitle)}, {exitJotter(kTitle)}});
        return out;
    }
    const Step in = titleToOpening(), out0 = openingToTitle();
    out.append({kOpening, {in}, {out0}});
    if (inThisBuild(QStringLiteral("Grey")))
        out.append({QStringLiteral("intro0 + Grey"), {in, hideDesktop()}, {showDesktop(), out0}});
    for (int k = 1; k <= 5; ++k)
        if (inThisBuild(menu(k))) out.append({menu(k), {in, openMenu(k)}, {exitMenu(k), out0}});
    for (const Activity& a : kActivities)
        if (inThisBuild(menu(a.menu)) && inThisBuild(QString::fromLatin1(a.screen)))
            out.append({QString::fromLatin1(a.screen),
                        {in, openMenu(a.menu), openActivity(a)},
                        {exitActivity(a), exitMenu(a.menu), out0}});
    bool allPages = true;
    for (int k = 0; k < 6; ++k)
        allPages = allPages && inThisBuild(page(k));
    if (allPages)
        for (int k = 0; k < 6; ++k) {
            Place p{page(k), {in, openGuide()}, {}};
            for (int j = 0; j < k; ++j)
                p.there.append(nextPage(j));
            for (int j = k; j > 0; --j)
                p.back.append(previousPage(j));
            p.back.append(exitGuide(0));
            p.back.append(out0);
            out.append(p);
        }
    if (jotterCanOpen())
        out.append({QStringLiteral("notepad"), {in, openJotter(kOpening)}, {exitJotter(kOpening), out0}});
    return out;
}

namespace {
// A short stroke across the Jotter's page, so its ink image is part of the visit.
void strokeOnJotter() {
    vb::Form* pad = drive::screen(QStringLiteral("notepad"));
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
        if (p.label == QLatin1String("notepad")) strokeOnJotter();
        if (!walk(p.back, error)) return false;
    }
    return true;
}

} // namespace tour
