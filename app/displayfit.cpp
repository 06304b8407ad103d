#include "displayfit.h"

#include "highdpi.h"
#include "runtime.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace displayfit {

double fitFactor(QSize device) {
    const double f = std::min(device.width() / 800.0, device.height() / 600.0);
    return f >= kLeastFit ? f : 1.0;
}

void prepare(const commandline::Options& options) {
    if (options.scale <= 0) return;
    // The factor given is the whole factor: neither the desktop's nor the environment's multiplies it.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale));
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

QString screenList() {
    QString list;
    for (QScreen* s : QGuiApplication::screens()) {
        const QSize d = vb::Runtime::deviceSize(s);
        list += QStringLiteral("%1  %2 x %3  factor %4%5\n")
                    .arg(s->name())
                    .arg(d.width())
                    .arg(d.height())
                    .arg(fitFactor(d), 0, 'g', 3)
                    .arg(s == QGuiApplication::primaryScreen() ? QStringLiteral("  (primary)") : QString());
    }
    return list;
}

namespace {
class Follower : public QObject {
public:
    explicit Follower(const commandline::Options& options) : m_options(options), m_scale(options.scale) {
        // The changes the window system reports together (size, free area, factor) are fitted once.
        m_settle.setSingleShot(true);
        m_settle.setInterval(0);
        connect(&m_settle, &QTimer::timeout, this, &Follower::fit);
        for (QScreen* s : QGuiApplication::screens())
            watch(s);
        connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
            watch(s);
            m_settle.start();
        });
        connect(qApp, &QGuiApplication::screenRemoved, &m_settle, qOverload<>(&QTimer::start));
        connect(qApp, &QGuiApplication::primaryScreenChanged, &m_settle, qOverload<>(&QTimer::start));
    }
    void setScale(double scale) {
        m_scale = scale;
        fit();
    }

private:
    void watch(QScreen* s) {
        auto changed = [this, s] {
            if (!m_fitting && s == vb::Runtime::display()) m_settle.start();
        };
        connect(s, &QScreen::geometryChanged, this, changed);
        connect(s, &QScreen::availableGeometryChanged, this, changed);
        connect(s, &QScreen::physicalDotsPerInchChanged, this, changed);
        connect(s, &QScreen::logicalDotsPerInchChanged, this, changed);
    }
    QScreen* display() const {
        if (!m_options.screen.isEmpty())
            for (QScreen* s : QGuiApplication::screens())
                if (s->name() == m_options.screen) return s;
        return vb::Runtime::display();
    }
    void fit() {
        m_settle.stop();
        m_fitting = true;
        QScreen* screen = display();
        vb::Runtime::refit([&] {
            vb::Runtime::setDisplay(screen);
            if (!screen) return;
            // The same precedence as at start-up: a factor given, then the environment's, then the fit.
            const bool environment = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ||
                                     qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS");
            if (m_scale <= 0 && environment) return;
            // A factor of the environment's (or --scale's, which is put there) multiplies the display's.
            const double global = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
            const double wanted = m_scale > 0 ? m_scale : fitFactor(vb::Runtime::deviceSize(screen));
            if (!qFuzzyCompare(screen->devicePixelRatio(), wanted) && global > 0)
                vb::highdpi::setScreenFactor(screen, wanted / global);
        });
        m_fitting = false;
    }

    const commandline::Options m_options;
    double m_scale;
    bool m_fitting = false;
    QTimer m_settle;
};
Follower* g_follower = nullptr;
} // namespace

void follow(const commandline::Options& options) {
    delete g_follower;
    g_follower = new Follower(options);
}

void setScale(double scale) {
    if (g_follower && scale > 0) g_follower->setScale(scale);
}

QString apply(const commandline::Options& options) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!options.screen.isEmpty()) {
        const QList<QScreen*> all = QGuiApplication::screens();
        const auto named =
            std::find_if(all.begin(), all.end(), [&](QScreen* s) { return s->name() == options.screen; });
        if (named == all.end())
            return QStringLiteral("no display is called \"%1\". The displays are:\n%2")
                .arg(options.screen, screenList());
        screen = *named;
    }
    vb::Runtime::setDisplay(screen);
    if (!screen || options.scale > 0) return {};
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR") || qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"))
        return {};
    const double f = fitFactor(vb::Runtime::deviceSize(screen));
    // The display's factor takes the place of the desktop's own, so the two never multiply. It is set before
    // any window exists, as Qt itself does for QT_SCREEN_SCALE_FACTORS.
    if (f != 1.0) vb::highdpi::setScreenFactor(screen, f);
    return {};
}

} // namespace displayfit
