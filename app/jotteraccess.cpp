#include "jotteraccess.h"

#include "notepad.h"
#include "vb.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSystemTrayIcon>

namespace jotter {

namespace {
// The program's icon where it is installed; else the window icon; else a small blue pad with a yellow stroke.
QIcon trayIconPicture() {
    const QString file = vb::resolveDataPath(QStringLiteral("Images/zestora-biology-64.png"));
    if (QFile::exists(file)) {
        QIcon icon(file);
        if (!icon.isNull()) return icon;
    }
    if (!QApplication::windowIcon().isNull()) return QApplication::windowIcon();
    QPixmap pad(64, 64);
    pad.fill(Qt::transparent);
    QPainter p(&pad);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(vb::toQColor(kPageColour));
    p.drawRoundedRect(QRectF(6, 10, 52, 44), 5, 5);
    QPainterPath stroke(QPointF(14, 40));
    stroke.cubicTo(22, 18, 30, 50, 38, 28);
    stroke.cubicTo(42, 20, 48, 24, 50, 30);
    p.setPen(QPen(QColor(255, 255, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stroke);
    p.end();
    return QIcon(pad);
}

bool isCtrlJ(const QKeyEvent& k) {
    return k.key() == Qt::Key_J && (k.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}
} // namespace

void openJotter() {
    vb::Runtime::dispatch([] { vb::form<notepad>().Show(); });
}

void act(const QString& action) {
    openJotter();
    vb::Runtime::dispatch([&action] {
        if (action == QLatin1String("save")) vb::form<notepad>().savePage();
        if (action == QLatin1String("print")) vb::form<notepad>().printPage();
    });
}

bool pageLeft() {
    return Journal::left();
}

JotterAccess::JotterAccess(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);

    m_menu = std::make_unique<QMenu>();
    for (const auto& [title, action] : {std::pair{"Open the Jotter", "open"},
                                        {"Save the Jotter page", "save"},
                                        {"Print the Jotter page", "print"}})
        connect(m_menu->addAction(QString::fromLatin1(title)), &QAction::triggered, this,
                [action = QString::fromLatin1(action)] { act(action); });
}

void JotterAccess::setUpTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    m_tray = new QSystemTrayIcon(trayIconPicture(), this);
    m_tray->setToolTip(QStringLiteral("Jotter: Ctrl+J"));
    m_tray->setContextMenu(m_menu.get());
    // A tap on the icon with the board's pen opens it at once; the menu is there for the right button.
    connect(m_tray, &QSystemTrayIcon::activated, this, [](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger) openJotter();
    });
    m_tray->show();
}

QList<QAction*> JotterAccess::actions() const {
    return m_menu->actions();
}

JotterAccess::~JotterAccess() {
    if (qApp) qApp->removeEventFilter(this);
    delete m_tray; // before the menu it shows
}

bool JotterAccess::eventFilter(QObject* watched, QEvent* event) {
    // Asking the desktop for its tray takes a few milliseconds, which the title screen does not wait for: the
    // tray is set up once the first window has been painted.
    if (!m_trayAsked && event->type() == QEvent::Paint) {
        m_trayAsked = true;
        QMetaObject::invokeMethod(this, &JotterAccess::setUpTray, Qt::QueuedConnection);
    }
    // Every key press of every window passes here first, so Ctrl+J works on each screen without the screens
    // knowing of it. It is taken here, so no window sees it twice.
    if (event->type() == QEvent::KeyPress && isCtrlJ(*static_cast<QKeyEvent*>(event))) {
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) openJotter();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace jotter
