// Works the real program from inside its own process, the way a person at the board would, for tests that
// must run the installed executable itself. Qt loads it as a generic plugin when the environment asks for it:
//   QT_PLUGIN_PATH=<build>/plugins QT_QPA_GENERIC_PLUGINS=zbdriver:<mode> zestora-biology
// It knows the program only by window and control names (routes.h), never by its code. Modes:
//   tour         every screen by clicks, each control clicked once, then the title's Exit
//   open:SCREEN  clicks its way to SCREEN and then quits
//   watch        says when the title is up, takes the focus away, and says when a program window gets it back
// It reports on standard output, lines starting "zbdriver:".
#include "routes.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <functional>

using namespace tour;

namespace {

void say(const QString& line) {
    std::printf("zbdriver: %s\n", qPrintable(line));
    std::fflush(stdout);
}

QString name(const char* s) {
    return QString::fromLatin1(s);
}

class Driver : public QObject {
public:
    explicit Driver(const QString& mode) : m_mode(mode) {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { begin(); });
    }

protected:
    // The windows as they come and go, newest last: the front screen is the newest one still shown.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && !w->objectName().isEmpty()) {
            if (event->type() == QEvent::Show) {
                m_shown.removeAll(w);
                m_shown.append(w);
            } else if (event->type() == QEvent::Hide || event->type() == QEvent::Destroy) {
                m_shown.removeAll(w);
            }
        }
        return false;
    }

private:
    QString m_mode;
    QList<QPointer<QWidget>> m_shown;
    QStringList m_visited;
    QPointer<QWindow> m_decoy;

    bool waitFor(const std::function<bool()>& ready, int ms = 3000) {
        QElapsedTimer t;
        t.start();
        while (!ready()) {
            if (t.elapsed() > ms || QCoreApplication::closingDown()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    QWidget* window(const QString& screen) const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == screen && w->isVisible()) return w;
        return nullptr;
    }

    QWidget* front() const {
        for (auto it = m_shown.crbegin(); it != m_shown.crend(); ++it) {
            QWidget* w = *it;
            if (w && w->isVisible() && w->objectName() != name(kJotter) &&
                w->objectName() != name(kBackdrop) && w->windowType() != Qt::Popup)
                return w;
        }
        return nullptr;
    }
    QString frontName() const { return front() ? front()->objectName() : QString(); }

    bool click(const QString& screen, const QString& control) {
        QWidget* w = window(screen);
        QWidget* c = w ? w->findChild<QWidget*>(control) : nullptr;
        if (!c || !c->isVisible() || !c->isEnabled()) return false;
        const QPoint at = c->mapTo(w, c->rect().center());
        QWidget* hit = w->childAt(at);
        if (!w->rect().contains(at) || !(hit == c || c->isAncestorOf(hit))) return false;
        QTest::mouseMove(w->windowHandle(), at);
        QTest::mousePress(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        settle();
        if (QWidget* popup = QApplication::activePopupWidget()) {
            // A list opened: pick its first name.
            auto* view = popup->findChild<QAbstractItemView*>();
            if (view && view->model() && view->model()->rowCount() > 0) {
                const QRect item = view->visualRect(view->model()->index(0, 0));
                QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                                  view->viewport()->mapTo(popup, item.center()));
            }
            if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->close();
            settle();
        }
        return true;
    }

    const Route* route(const QString& screen) const {
        for (const Route& r : kRoutes)
            if (screen == name(r.screen)) return &r;
        return nullptr;
    }

    bool close(const QString& screen, int depth = 0) {
        if (!window(screen) || depth > 20) return false;
        if (screen == name(kBackdrop))
            return open(name(kOpening), depth + 1) && click(name(kOpening), QStringLiteral("Check1"));
        if (screen == name(kJotter))
            return click(screen, QStringLiteral("Command1")) || click(screen, QStringLiteral("Command9"));
        const Route* r = route(screen);
        if (!r) return false;
        while (front() && frontName() != screen)
            if (!close(frontName(), depth + 1)) return false;
        return click(screen, name(r->close));
    }

    bool open(const QString& screen, int depth = 0) {
        if (depth > 20) return false;
        if (screen == name(kJotter)) {
            if (QWidget* f = front()) QTest::keyClick(f->windowHandle(), Qt::Key_J, Qt::ControlModifier);
            settle();
            return waitFor([&] { return window(screen); }, 1000);
        }
        if (screen == name(kBackdrop) && window(screen)) return true;
        if (screen == name(kFirstScreen)) {
            for (int guard = 0; guard < 20 && frontName() != screen; ++guard)
                if (!front() || !close(frontName(), depth + 1)) return false;
            return frontName() == screen;
        }
        if (window(screen)) {
            while (front() && frontName() != screen)
                if (!close(frontName(), depth + 1)) return false;
            return frontName() == screen;
        }
        const Route* r = route(screen);
        if (!r || !open(name(r->from), depth + 1) || !click(name(r->from), name(r->open))) return false;
        return waitFor([&] { return window(screen); }, 1000);
    }

    void exercise(const QString& screen) {
        QWidget* w = window(screen);
        if (!w) return;
        QStringList controls;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (!c->objectName().isEmpty() && c->isVisible() &&
                !c->objectName().startsWith(QLatin1String("qt_")))
                controls << c->objectName();
        for (const QString& c : controls) {
            if (screen == name(kFirstScreen) && c == name(kTitleExit)) continue;
            if (!open(screen)) return;
            click(screen, c);
        }
        if (screen == name(kJotter) && open(screen)) {
            QWindow* h = window(screen)->windowHandle();
            QTest::mousePress(h, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
            for (int i = 1; i <= 8; ++i)
                QTest::mouseMove(h, QPoint(20 + 30 * i, 20 + 5 * i));
            QTest::mouseRelease(h, Qt::LeftButton, Qt::NoModifier, QPoint(260, 60));
            settle();
        }
    }

    void begin() {
        if (!waitFor([&] { return window(name(kFirstScreen)); }, 10000)) {
            say(QStringLiteral("the title screen never came up"));
            return;
        }
        say(QStringLiteral("ready"));
        if (m_mode == QLatin1String("tour")) {
            for (const char* s : {kFirstScreen})
                if (open(name(s))) exercise(name(s));
            for (const Route& r : kRoutes) {
                const QString screen = name(r.screen);
                if (!open(screen)) {
                    say(QStringLiteral("cannot reach %1").arg(screen));
                    continue;
                }
                m_visited << screen;
                exercise(screen);
                close(screen);
            }
            say(QStringLiteral("visited %1").arg(m_visited.join(u' ')));
            if (!open(name(kFirstScreen)) || !click(name(kFirstScreen), name(kTitleExit))) {
                say(QStringLiteral("could not get back to the title's Exit"));
                QCoreApplication::exit(3);
            }
        } else if (m_mode.startsWith(QLatin1String("open:"))) {
            const QString screen = m_mode.mid(5);
            if (open(screen)) {
                say(QStringLiteral("reached %1").arg(screen));
                QCoreApplication::exit(0);
            } else if (!QCoreApplication::closingDown()) {
                say(QStringLiteral("cannot reach %1").arg(screen));
                QCoreApplication::exit(3);
            }
        } else if (m_mode == QLatin1String("watch")) {
            // A window of someone else's takes the focus, as when the teacher has gone to another program.
            m_decoy = new QWindow;
            m_decoy->setObjectName(QStringLiteral("decoy"));
            m_decoy->resize(50, 50);
            m_decoy->show();
            m_decoy->requestActivate();
            waitFor([&] { return QGuiApplication::focusWindow() == m_decoy; }, 2000);
            connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
                if (!w || w == m_decoy) return;
                QString screen;
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->windowHandle() == w) screen = top->objectName();
                say(QStringLiteral("brought forward %1").arg(screen));
            });
            say(QStringLiteral("watching"));
        }
    }
};

} // namespace

class DriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "driver.json")
public:
    QObject* create(const QString& key, const QString& mode) override {
        if (key.compare(QLatin1String("zbdriver"), Qt::CaseInsensitive) != 0) return nullptr;
        return new Driver(mode);
    }
};

#include "driver.moc"
