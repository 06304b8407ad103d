// The navigation screens: title and opening screen, "Hide Desktop" across visits, the desktop links, the five
// topic menus with their live and dimmed entries and shared picture, and the Teachers' Guide with its Word
// document. They start from a fresh runtime, a recording desktop, no backdrop, and plain pictures of their
// own, so that they do not depend on the drawn ones and can take one away.
#include "Grey.h"
#include "Module1.h"
#include "TeacherGuide.h"
#include "Titlefrm.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "support/testsupport.h"

#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QtTest>

#include <algorithm>

using namespace vb;
using namespace testsupport;

namespace {

// A point on the bare opening screen or a bare menu, away from every control.
const QPoint kBare(300, 120);

// The title screen as the program starts, then its "OK".
void startAtOpeningScreen() {
    Runtime::dispatch([] { form<Titlefrm>().Show(); });
    click(*form<Titlefrm>().Command1);
}

QStringList loadedScreens() {
    QStringList names = Runtime::loadedFormNames();
    names.sort();
    return names;
}

QStringList stackNames() {
    QStringList names;
    for (Form* f : Runtime::stackingOrder())
        names << f->Name();
    return names;
}

TopicMenu& openFromOpeningScreen(int number) {
    startAtOpeningScreen();
    click(form<intro0>().Label2(number - 1));
    return topicMenu(number);
}

// Label1, then Label2(0) to Label2(5), then Label3(0) to Label3(4).
QList<int> backStyles(TopicMenu& m) {
    QList<int> s{m.Label1->BackStyle()};
    for (int i = 0; i < 6 + kEntriesPerMenu; ++i)
        s << (i < 6 ? m.Label2(i) : m.Label3(i - 6)).BackStyle();
    return s;
}

// The bytes a text has in a Word document: UTF-16 pieces, or 8-bit pieces for Western text.
bool documentHolds(const QByteArray& doc, const QString& text) {
    if (doc.contains(QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(text)))) return true;
    const bool western = std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 256; });
    return western && doc.contains(text.toLatin1());
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT
    RecordingPlatform* desktop = nullptr;
    std::unique_ptr<ScratchData> data;
    QString path(const char* name) const {
        return data->dir.filePath(QStringLiteral("Images/") + QString::fromLatin1(name));
    }

private slots:
    void init() {
        freshRuntime();
        desktop = &recordDesktop();
        hidedesktop = 0;
        data = std::make_unique<ScratchData>();
        for (const auto& [name, w, h] :
             {std::tuple("beesm.jpg", 320, 240), std::tuple("bee.jpg", 800, 600),
              std::tuple("logo2.jpg", 100, 139), std::tuple("exit.jpg", 119, 33)}) {
            QImage img(w, h, QImage::Format_RGB32);
            img.fill(QColor(60, 140, 210));
            img.save(path(name), "JPG");
        }
    }
    void cleanup() {
        freshRuntime();
        data.reset();
    }

    void titleAndOpeningScreenLeadToEachOther() {
        startAtOpeningScreen();
        click(*form<intro0>().Command1); // Exit offers the title with Cancel, which comes back
        QCOMPARE(loadedScreens(), QStringList({"Titlefrm"}));
        QCOMPARE(form<Titlefrm>().Command1->Caption(), QStringLiteral("Cancel"));
        click(*form<Titlefrm>().Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        // Brought forward from a task bar over menu2, the opening screen still leaves one menu.
        click(form<intro0>().Label2(1));
        Runtime::dispatch([] { form<intro0>().Show(); });
        click(form<intro0>().Label2(3));
        QCOMPARE(loadedScreens(), QStringList({"intro0", "menu4"}));
        QCOMPARE(stackNames().last(), QStringLiteral("menu4"));
    }

    void hideDesktopPutsTheBackdropBehindUntilUnticked() {
        startAtOpeningScreen();
        click(*form<intro0>().Check1);
        const Grey& g = form<Grey>();
        const quint64 greyGeneration = g.generation();
        click(*form<intro0>().Command1);
        QCOMPARE(stackNames(), QStringList({"Grey", "Titlefrm"}));
        click(*form<Titlefrm>().Command1);
        intro0& o = form<intro0>();
        QCOMPARE(o.Check1->Value(), 1); // ticked again by the opening screen's Load
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        QCOMPARE(g.generation(), greyGeneration); // the same backdrop, not a new one
        QVERIFY(o.Label2(4).Visible());           // completed after its early showing by the check box

        // Through the menus the backdrop stays at the back, even when clicked.
        click(o.Label2(0));
        click(form<menu1>().Label2(2));
        QTest::mouseClick(windowOf(g), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseDClick(windowOf(g), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0", "menu3"}));

        // Unticked, it goes for good.
        click(*form<menu3>().Command1);
        click(*o.Check1);
        click(*o.Command1);
        click(*form<Titlefrm>().Command1);
        QCOMPARE(form<intro0>().Check1->Value(), 0);
        QVERIFY(!g.isLoaded());
    }

    // Each click on a link asks the desktop again; a desktop that cannot open it leaves the screen as it is.
    void aLinkAsksTheDesktopOnEveryClickEvenWhenItRefuses_data() {
        QTest::addColumn<bool>("guide");
        QTest::addColumn<QString>("target");
        QTest::newRow("web site") << false << "https://www.quorvane.example/";
        QTest::newRow("guide document") << true << "Teacher Guide.doc";
    }
    void aLinkAsksTheDesktopOnEveryClickEvenWhenItRefuses() {
        QFETCH(bool, guide);
        QFETCH(QString, target);
        startAtOpeningScreen();
        if (guide) click(form<intro0>().Label2(7));
        Label& link = guide ? *teacherGuidePage(0).Label2 : form<intro0>().Label2(6);
        click(link);
        desktop->refuses = true;
        click(link);
        QCOMPARE(desktop->opened.size(), 2);
        QCOMPARE(desktop->opened[1].target, target);
        QVERIFY(desktop->errorReports.isEmpty());
        QCOMPARE(stackNames().last(), guide ? QStringLiteral("TeacherGuide0") : QStringLiteral("intro0"));
        QVERIFY(!Runtime::ended());
    }

    // Moves onto the entries are not the screen's: the boxes stay. Only the live entry clicks; its activity's
    // Exit uncovers the menu as it was left. Without its activity the entry is dimmed like the others.
    void entriesTakeNoPointerMovesAndOnlyTheLiveOneClicks_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("present");
        for (int n = 1; n <= kTopicMenus; ++n)
            QTest::addRow("menu%d", n) << n << true;
        QTest::newRow("menu2 without its activity") << 2 << false;
    }
    void entriesTakeNoPointerMovesAndOnlyTheLiveOneClicks() {
        QFETCH(int, number);
        QFETCH(bool, present);
        // A guide page stands in for the activity: its Exit only unloads it.
        const auto restore = qScopeGuard([real = screenOpener()] { setScreenOpener(real); });
        setScreenOpener([real = screenOpener(), present](const QString& s, const QString& c) -> FormGetter {
            if (!s.startsWith(QLatin1String("menu")) || !c.startsWith(QLatin1String("Label3")))
                return real(s, c);
            return present && real(s, c) ? &screenOf<TeacherGuide0> : nullptr;
        });
        TopicMenu& m = openFromOpeningScreen(number);
        const int live = m.liveEntry();
        const QList<int> boxed = backStyles(m);
        for (int i = 0; i < kEntriesPerMenu; ++i)
            QTest::mouseMove(windowOf(m), pointIn(m.Label3(i), QPoint(3, 3)));
        QCOMPARE(backStyles(m), boxed);
        QTest::mouseMove(windowOf(m), kBare);
        const QList<int> highlight = backStyles(m);
        QVERIFY(highlight != boxed);
        const quint64 generation = m.generation();
        int opened = 0;
        for (int i = 0; i < kEntriesPerMenu; ++i) {
            click(m.Label3(i));
            if (stackNames().last() != QLatin1String("TeacherGuide0")) continue;
            QCOMPARE(i, live);
            ++opened;
            click(teacherGuidePage(0).Label3(0));
        }
        QCOMPARE(opened, int(present && live >= 0));
        QCOMPARE(stackNames(), QStringList({"intro0", m.Name()}));
        QCOMPARE(m.generation(), generation);
        QCOMPARE(backStyles(m), highlight);
    }

    // The menus take the opening screen's picture from it; were they to read the file again they would fail.
    void theMenusShareTheOpeningScreensPicture() {
        Runtime::dispatch([] { form<menu3>().Show(); }); // shown first, it loads the opening screen
        const Picture background = form<intro0>().Picture();
        QVERIFY(!background.isEmpty());
        QFile::remove(path("bee.jpg"));
        click(form<menu3>().Label2(0));
        for (int n = 1; n <= kTopicMenus; ++n) {
            QCOMPARE(topicMenu(n).Picture(), background);
            if (n < kTopicMenus) click(topicMenu(n).Label2(n));
        }
        click(*topicMenu(kTopicMenus).Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(!Runtime::ended());
    }

    void theDocumentSaysWhatThePagesSay() {
        QFile file(QStringLiteral(ZB_GUIDE_DOCUMENT));
        QVERIFY2(file.open(QIODevice::ReadOnly),
                 "docs/Teacher Guide.doc is missing: run tools/make-guide-doc.sh");
        const QByteArray doc = file.readAll();
        QVERIFY(doc.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))); // an OLE compound file
        int checked = 0;
        for (int n = 0; n < guide::kPageCount; ++n) {
            Runtime::dispatch([n] { teacherGuidePage(n).Show(); });
            for (Control* c : teacherGuidePage(n).controls()) {
                if (c->Name() != QLatin1String("Label1") || c->Index() == guide::el::PageNumber) continue;
                for (const QString& part : static_cast<Label*>(c)->Caption().split(QLatin1Char('\n'))) {
                    QVERIFY2(documentHolds(doc, part),
                             qPrintable(QStringLiteral("page %1: ").arg(n + 1) + part +
                                        " is not in the document: run tools/make-guide-doc.sh"));
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 100);
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
