// Works the real program from inside its own process, for the tests that must run the executable itself. Qt
// loads it as a generic plugin when the environment asks for it:
//   QT_PLUGIN_PATH=<build>/plugins QT_QPA_GENERIC_PLUGINS=zbdriver:<mode> zestora-biology
// It knows the program only by window and control names. Modes:
//   tour         every screen by clicks, each control clicked once, then the title's Exit
//   open:SCREEN  clicks its way to SCREEN and then quits
//   watch        takes the focus away once the title is up, and says when a program window gets it back
// It reports on standard output, lines starting "zbdriver:".
#include "walker.h"

#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QPointer>
#include <QTimer>

#include <cstdio>

using namespace tour;

namespace {

void say(const QString& line) {
    std::printf("zbdriver: %s\n", qPrintable(line));
    std::fflush(stdout);
}

bool waitFor(const std::function<bool()>& ready, int ms = 1000) {
    QElapsedTimer t;
    t.start();
    while (!ready()) {
        if (t.elapsed() > ms || QCoreApplication::closingDown()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QWidget* window(const QString& screen) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == screen && w->isVisible()) return w;
    return nullptr;
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
            if (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
                event->type() == QEvent::Destroy)
                m_shown.removeAll(w);
            if (event->type() == QEvent::Show) m_shown.append(w);
        }
        return false;
    }

private:
    QString m_mode;
    QList<QPointer<QWidget>> m_shown;
    QPointer<QWindow> m_decoy;
    const Walker m_walker{window,
                          [this]() -> QWidget* {
                              for (auto it = m_shown.crbegin(); it != m_shown.crend(); ++it)
                                  if (QWidget* w = *it; w && w->isVisible() && w->windowType() != Qt::Popup &&
                                                        w->objectName() != QLatin1String(kJotter) &&
                                                        w->objectName() != QLatin1String(kBackdrop))
                                      return w;
                              return nullptr;
                          },
                          [](const std::function<bool()>& ready) { return waitFor(ready); }};

    void begin() {
        if (!waitFor([] { return window(QLatin1String(kFirstScreen)); }, 10000)) {
            say(QStringLiteral("the title screen never came up"));
            return;
        }
        const QString first = QString::fromLatin1(kFirstScreen);
        if (m_mode == QLatin1String("tour")) {
            QStringList screens{first};
            for (const Route& r : kRoutes)
                screens << QString::fromLatin1(r.screen);
            say(QStringLiteral("visited %1").arg(m_walker.tour(screens).join(u' ')));
            if (!m_walker.open(first) || !m_walker.click(first, QLatin1String(kTitleExit))) {
                say(QStringLiteral("could not get back to the title's Exit"));
                QCoreApplication::exit(3);
            }
        } else if (m_mode.startsWith(QLatin1String("open:"))) {
            const QString screen = m_mode.mid(5);
            if (m_walker.open(screen)) {
                say(QStringLiteral("reached %1").arg(screen));
                QCoreApplication::exit(0);
            } else if (!QCoreApplication::closingDown()) {
                say(QStringLiteral("cannot reach %1").arg(screen));
                QCoreApplication::exit(3);
            }
        } else if (m_mode == QLatin1String("watch")) {
            // Someone else's window takes the focus, as when the teacher has gone to another program.
            m_decoy = new QWindow;
            m_decoy->resize(50, 50);
            m_decoy->show();
            m_decoy->requestActivate();
            waitFor([&] { return QGuiApplication::focusWindow() == m_decoy; }, 2000);
            connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
                if (!w || w == m_decoy) return;
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->windowHandle() == w)
                        say(QStringLiteral("brought forward %1").arg(top->objectName()));
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
        return key.compare(QLatin1String("zbdriver"), Qt::CaseInsensitive) == 0 ? new Driver(mode) : nullptr;
    }
};

#include "driver.moc"
