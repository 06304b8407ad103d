// Works the real program from inside its process, as a generic plugin:
//   QT_PLUGIN_PATH=<build>/plugins QT_QPA_GENERIC_PLUGINS=zbdriver:<mode> zestora-biology
// by window and control names and the routes in ZBDRIVER_ROUTES. Modes, reported in lines "zbdriver: ...":
//   tour: every screen by clicks, again by keys alone, then the title's Exit; open:SCREEN[:CONTROL]:
//   there (and a click on CONTROL), then quits; watch: takes the focus away and says which window gets it
//   back; xmap: "window NAME XID" and "at NAME CONTROL X Y" per show, and for each line read on standard
//   input "stale NAME N ...", the pixels of each window that differ from a fresh paint. Message boxes are
//   told as they show.
#include "walker.h"

#include <QBackingStore>
#include <QGenericPlugin>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <qpa/qplatformbackingstore.h>

#include <cstdio>
#include <unistd.h>

using namespace tour;

namespace {

void say(const QString& line) {
    std::printf("zbdriver: %s\n", qPrintable(line));
    std::fflush(stdout);
}

class Driver : public QObject {
public:
    explicit Driver(const QString& mode) : m_mode(mode) {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { begin(); });
        if (m_mode != QLatin1String("xmap")) return;
        // Asked on standard input once the window manager shows the change done, not at a guessed time.
        auto* asked = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(asked, &QSocketNotifier::activated, this, [this, asked] {
            char c;
            if (read(STDIN_FILENO, &c, 1) == 1) return sayStale();
            asked->setEnabled(false);
        });
    }

protected:
    // The windows as they come and go, newest last.
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (auto* box = qobject_cast<QMessageBox*>(watched); box && t == QEvent::Show)
            say(QStringLiteral("message %1 %2").arg(box->text(), box->informativeText()).simplified());
        if (auto* l = qobject_cast<QLabel*>(watched); l && t == QEvent::Show && l->objectName() == "notice")
            say(QStringLiteral("notice ") + l->text());
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && !w->objectName().isEmpty()) {
            if (t == QEvent::Show || t == QEvent::Hide || t == QEvent::Destroy) m_shown.removeAll(w);
            if (t == QEvent::Show) m_shown.append(w);
            if (t == QEvent::Show && m_mode == QLatin1String("xmap")) {
                say(QStringLiteral("window %1 %2").arg(w->objectName()).arg(w->winId()));
                for (QWidget* c : w->findChildren<QWidget*>())
                    if (const QPoint at = c->mapTo(w, c->rect().center()); c->isVisibleTo(w))
                        say(QStringLiteral("at %1 %2 %3 %4")
                                .arg(w->objectName(), c->objectName())
                                .arg(at.x())
                                .arg(at.y()));
            }
        }
        return false;
    }

private:
    // What each window shows against what it would paint now: a control left unpainted after a change of
    // factor keeps the old frame's pixels.
    void sayStale() {
        QString line = QStringLiteral("stale");
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->objectName().isEmpty() || !w->backingStore()) continue;
            QImage shown = w->backingStore()->handle()->toImage().convertToFormat(QImage::Format_RGB32);
            QImage fresh = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (shown.isNull()) { // a window the X server fills: what shows of it on the display
                QRegion seen = w->frameGeometry() & w->screen()->geometry();
                for (QWidget* other : QApplication::topLevelWidgets())
                    if (other != w && other->isVisible()) seen -= other->frameGeometry();
                QRect part;
                for (const QRect& r : seen)
                    if (r.width() * r.height() > part.width() * part.height())
                        part = r.adjusted(1, 1, -1, -1); // clear of the rounding at a fractional factor
                shown = w->screen()->grabWindow(0, part.x(), part.y(), part.width(), part.height()).toImage();
                shown = shown.convertToFormat(QImage::Format_RGB32);
                const QPointF from =
                    QPointF(part.topLeft() - w->geometry().topLeft()) * fresh.devicePixelRatio();
                fresh = fresh.copy(QRect(from.toPoint(), shown.size()));
            }
            qsizetype differ = 0;
            if (shown.size() != fresh.size())
                differ = fresh.width() * fresh.height();
            else
                for (int y = 0; y < fresh.height(); ++y)
                    for (int x = 0; x < fresh.width(); ++x)
                        differ += shown.pixel(x, y) != fresh.pixel(x, y);
            line += QStringLiteral(" %1 %2").arg(w->objectName()).arg(differ);
        }
        say(line);
    }

    QString m_mode;
    QList<QPointer<QWidget>> m_shown;
    const Walker m_walker{[this]() -> QWidget* {
                              for (auto it = m_shown.crbegin(); it != m_shown.crend(); ++it)
                                  if (QWidget* w = *it; w && w->isVisible() && w->windowType() != Qt::Popup &&
                                                        w->objectName() != QLatin1String(kJotter) &&
                                                        w->objectName() != QLatin1String(kBackdrop))
                                      return w;
                              return nullptr;
                          },
                          1000,
                          routesFromText(qEnvironmentVariable("ZBDRIVER_ROUTES")),
                          {}};

    void begin() {
        const QString first = QString::fromLatin1(kFirstScreen);
        if (!m_walker.until([&] { return Walker::window(first); }, 10000))
            return say(QStringLiteral("the title screen never came up"));
        if (m_mode == QLatin1String("tour")) {
            QStringList screens{first};
            for (const Route& r : m_walker.routes)
                screens << r.screen;
            Walker byKeys = m_walker;
            byKeys.byKeys = true;
            QStringList visited = m_walker.tour(screens); // by clicks, then by keys alone: those of both
            const QStringList keys = byKeys.tour(screens);
            visited.removeIf([&](const QString& s) { return !keys.contains(s); });
            say(QStringLiteral("visited ") + visited.join(u' '));
            // With writing on the Jotter: the title's Exit leaves nothing of it behind either.
            if (!m_walker.open(first) || !m_walker.open(QLatin1String(kJotter)) || !m_walker.write() ||
                !m_walker.click(first, QLatin1String(kTitleExit))) {
                say(QStringLiteral("could not get back to the title's Exit"));
                QCoreApplication::exit(3);
            }
        } else if (m_mode.startsWith(QLatin1String("open:"))) {
            const QString screen = m_mode.section(u':', 1, 1), control = m_mode.section(u':', 2);
            const bool reached = m_walker.open(screen);
            if (reached && !control.isEmpty() && m_walker.click(screen, control))
                m_walker.until([] { return false; }, 500); // whatever the click brings up
            if (reached || !QCoreApplication::closingDown()) {
                say((reached ? QStringLiteral("reached ") : QStringLiteral("cannot reach ")) + screen);
                QCoreApplication::exit(reached ? 0 : 3);
            }
        } else if (m_mode == QLatin1String("watch")) {
            // Someone else's window takes the focus.
            auto* decoy = new QWindow;
            decoy->resize(50, 50);
            decoy->show();
            decoy->requestActivate();
            m_walker.until([&] { return QGuiApplication::focusWindow() == decoy; }, 2000);
            connect(qApp, &QGuiApplication::focusWindowChanged, this, [decoy](QWindow* w) {
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (w && w != decoy && top->windowHandle() == w)
                        say(QStringLiteral("brought forward ") + top->objectName());
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
