#include "control.h"

#include "form.h"
#include "input.h"
#include "runtime.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vb {

int buttonBits(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? vbLeftButton : 0) | (b & Qt::RightButton ? vbRightButton : 0) |
           (b & Qt::MiddleButton ? vbMiddleButton : 0);
}

int shiftBits(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? vbShiftMask : 0) | (m & Qt::ControlModifier ? vbCtrlMask : 0) |
           (m & Qt::AltModifier ? vbAltMask : 0);
}

Control::Control(Form& form, QWidget* container, const QString& name, int index)
    : QWidget(container), m_form(form), m_name(name), m_index(index), m_generation(form.generation()),
      m_tabIndex(form.controlCount()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
    // The design name, so tools outside the program (accessibility, test drivers) can find the control.
    setObjectName(index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name);
    m_form.registerControl(this);
    // Whatever answers a click is reached by the keyboard too; a click leaves the focus where it was.
    if (handlers().click) setFocusPolicy(Qt::TabFocus);
}

Control::~Control() {
    m_form.unregisterControl(this);
}

void Control::setLeft(Single v) {
    m_left = v;
    updatePixelGeometry();
}
void Control::setTop(Single v) {
    m_top = v;
    updatePixelGeometry();
}
void Control::setWidth(Single v) {
    m_width = v;
    updatePixelGeometry();
}
void Control::setHeight(Single v) {
    m_height = v;
    updatePixelGeometry();
}

void Control::Move(Single left, Single top, Single width, Single height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    updatePixelGeometry();
}

void Control::ZOrder(int position) {
    const QObjectList& siblings = parentWidget()->children();
    if (position == 0 && siblings.last() != this) raise();
    if (position != 0 && siblings.first() != this) lower();
}

void Control::updatePixelGeometry() {
    const int x = twipsToPixels(m_left), y = twipsToPixels(m_top);
    const int w = twipsToPixels(double(m_left) + m_width) - x;
    const int h = twipsToPixels(double(m_top) + m_height) - y;
    setGeometry(x, y, std::max(0, w), std::max(0, h));
}

void Control::setBackColor(OleColor c) {
    if (c == m_backColor) return;
    m_backColor = c;
    update();
}

void Control::setForeColor(OleColor c) {
    if (c == m_foreColor) return;
    m_foreColor = c;
    update();
}

void Control::setFontDesc(const FontDesc& f) {
    if (f == m_font) return;
    m_font = f;
    fontChanged();
}

void Control::setMousePointer(int pointer) {
    m_mousePointer = pointer;
    applyPointer();
}

void Control::setMouseIcon(const Picture& icon) {
    m_mouseIcon = icon;
    applyPointer();
}

void Control::applyPointer() {
    QWidget* w = pointerWidget();
    if (m_mousePointer == vbCustom && !m_mouseIcon.isEmpty())
        w->setCursor(m_mouseIcon.cursor());
    else if (m_mousePointer == vbHourglass)
        w->setCursor(Qt::WaitCursor);
    else
        w->unsetCursor();
}

void Control::copyFrom(const Control& src) {
    m_left = src.m_left;
    m_top = src.m_top;
    m_width = src.m_width;
    m_height = src.m_height;
    m_backColor = src.m_backColor;
    m_foreColor = src.m_foreColor;
    m_font = src.m_font;
    m_mousePointer = src.m_mousePointer;
    m_mouseIcon = src.m_mouseIcon;
    m_tabIndex = src.m_tabIndex; // the elements of an array follow one another in the keyboard order
    setEnabled(src.isEnabled());
    updatePixelGeometry();
    fontChanged();
    applyPointer();
}

bool Control::stale() const {
    return m_generation != m_form.generation() || !m_form.isLoaded();
}

Handlers& Control::handlers() const {
    return m_form.handlers(m_name);
}

void Control::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (stale()) return;
    m_pressedInside = e->button() == Qt::LeftButton;
    const int button = buttonBits(e->button()), shift = shiftBits(e->modifiers());
    const Single x = pixelsToTwips(e->position().x()), y = pixelsToTwips(e->position().y());
    Runtime::dispatch([&] {
        if (auto& h = handlers().mouseDown) h(m_index, button, shift, x, y);
    });
}

void Control::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (stale()) return;
    const int buttons = buttonBits(e->buttons()), shift = shiftBits(e->modifiers());
    const Single x = pixelsToTwips(e->position().x()), y = pixelsToTwips(e->position().y());
    Runtime::dispatch([&] {
        if (auto& h = handlers().mouseMove) h(m_index, buttons, shift, x, y);
    });
}

void Control::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (stale()) return;
    const int button = buttonBits(e->button()), shift = shiftBits(e->modifiers());
    const Single x = pixelsToTwips(e->position().x()), y = pixelsToTwips(e->position().y());
    const bool click =
        m_pressedInside && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_pressedInside = false;
    if (click) Input::instance().clickStarted(window(), e->globalPosition(), e->timestamp());
    Runtime::dispatch([&] {
        if (auto& h = handlers().mouseUp) h(m_index, button, shift, x, y);
        if (click && !stale() && isEnabled()) {
            beforeClick();
            if (auto& h = handlers().click) h(m_index);
        }
    });
    if (click) Input::instance().clickEnded();
}

void Control::press() {
    if (stale() || !isEnabled()) return;
    Runtime::dispatch([&] {
        beforeClick();
        if (auto& h = handlers().click) h(m_index);
    });
}

void Control::keyPressEvent(QKeyEvent* e) {
    const bool pressKey =
        e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (!(focusPolicy() & Qt::TabFocus) || !pressKey || (e->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    // Not while a button is held on the board: the pen's gesture has the screen until it is lifted.
    if (!e->isAutoRepeat() && QGuiApplication::mouseButtons() == Qt::NoButton) press();
}

void Control::drawFocusMark(QPainter& p, const QRect& r, const QColor& colour) const {
    if (!hasFocus() || !Input::keyboardInUse()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

QWidget* Control::tabStop() {
    QWidget* w = focusProxy() ? focusProxy() : this;
    return w->focusPolicy() & Qt::TabFocus ? w : nullptr;
}

void Control::setTabIndex(int index) {
    m_tabIndex = index;
    m_form.applyTabOrder();
}

QString Control::spokenName() const {
    QString name = accessibleName().isEmpty() ? caption() : accessibleName();
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name.simplified();
}

} // namespace vb
