// Paint passes, watched application-wide. A window is painted in one pass that paints every dirty widget in
// it and then flushes the window to the display; the window itself may not paint at all when opaque controls
// cover it, so the watch looks at paint events of every widget. When the event that carried the pass has been
// handled, the pass is complete. A window that Qt does not paint at all (its updates off: the X server fills
// it from its colour) is painted when it is exposed.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace paintwatch {

class Watch : public QObject {
public:
    // Told of every widget paint, with the top-level window it belongs to.
    // The application owns the watch.
    explicit Watch(std::function<void(QWidget* window)> onPaint)
        : QObject(QCoreApplication::instance()), m_onPaint(std::move(onPaint)) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~Watch() override {
        if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            m_onPaint(static_cast<QWidget*>(watched)->window());
        if (event->type() == QEvent::Expose && watched->isWindowType())
            if (QWidget* w = QWidget::find(static_cast<QWindow*>(watched)->winId());
                w && !w->updatesEnabled())
                m_onPaint(w);
        return false;
    }

private:
    std::function<void(QWidget*)> m_onPaint;
};

} // namespace paintwatch
