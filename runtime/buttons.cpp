// Command buttons and check boxes: the controls that press.
#include "controls.h"
#include "edges.h"

#include "form.h"
#include "runtime.h"

#include <QMouseEvent>
#include <QPainter>

namespace vb {

CommandButton::CommandButton(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setBackColor(RGB(192, 192, 192));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFontDesc(FontDesc{QStringLiteral("Tahoma"), 8.25f});
    setFocusPolicy(Qt::TabFocus); // the keyboard reaches it; a click leaves the focus where it was
}

void CommandButton::setCaption(const QString& text) {
    m_caption = text;
    update();
}
void CommandButton::setPicture(const vb::Picture& p) {
    m_picture = p;
    update();
}
void CommandButton::setStyle(int style) {
    m_style = style;
    update();
}

void CommandButton::copyFrom(const Control& src) {
    const auto& s = static_cast<const CommandButton&>(src);
    m_caption = s.m_caption;
    m_picture = s.m_picture;
    m_style = s.m_style;
    Control::copyFrom(src);
}

void CommandButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        m_down = true;
        update();
    }
    Control::mousePressEvent(e);
}

void CommandButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && m_down) {
        m_down = false;
        update();
    }
    Control::mouseReleaseEvent(e);
}

void CommandButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor face =
        m_style == 1 || BackColor() != RGB(192, 192, 192) ? toQColor(BackColor()) : QColor(212, 208, 200);
    p.fillRect(rect(), face);
    const QPoint shift = m_down ? QPoint(1, 1) : QPoint();
    const QRect inner = rect().adjusted(kBorder3D, kBorder3D, -kBorder3D, -kBorder3D).translated(shift);
    if (m_style == 1 && !m_picture.isEmpty()) {
        const QSizeF size = m_picture.pixmap().deviceIndependentSize();
        const QPointF at(inner.center().x() + 1 - size.width() / 2.0,
                         inner.center().y() + 1 - size.height() / 2.0);
        p.save();
        p.setClipRect(rect().adjusted(1, 1, -1, -1));
        p.drawPixmap(at, m_picture.pixmap());
        p.restore();
    }
    if (!m_caption.isEmpty()) {
        p.setFont(resolveFont(Font()));
        p.setPen(isEnabled() ? toQColor(ForeColor()) : QColor(128, 128, 128));
        p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, m_caption);
    }
    drawRaisedEdge(p, rect(), m_down);
    drawFocusMark(p, inner.adjusted(1, 1, -1, -1));
}

CheckBox::CheckBox(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void CheckBox::setCaption(const QString& text) {
    m_caption = text;
    update();
}

void CheckBox::setValue(int v) {
    if (v != 0 && v != 1 && v != 2)
        throw RuntimeError(err::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    if (v == m_value) return;
    m_value = v;
    update();
    if (auto& h = handlers().click) h(Index());
}

void CheckBox::beforeClick() {
    m_value = m_value == 1 ? 0 : 1;
    update();
}

void CheckBox::copyFrom(const Control& src) {
    const auto& s = static_cast<const CheckBox&>(src);
    m_caption = s.m_caption;
    m_value = s.m_value;
    Control::copyFrom(src);
}

void CheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(BackColor()));
    const int side = 13;
    const QRect box(2, (height() - side) / 2, side, side);
    p.fillRect(box, isEnabled() ? Qt::white : QColor(212, 208, 200));
    drawSunkenEdge(p, box);
    if (m_value == 1) {
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(Qt::black, 2);
        p.setPen(pen);
        const QPointF o = box.topLeft();
        p.drawPolyline(QPolygonF{o + QPointF(3, 6.5), o + QPointF(5.5, 9.5), o + QPointF(10, 3.5)});
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    p.setFont(resolveFont(Font()));
    p.setPen(isEnabled() ? toQColor(ForeColor()) : QColor(128, 128, 128));
    const QRect text = rect().adjusted(side + 6, 0, 0, 0);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, m_caption);
    drawFocusMark(p, p.boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, m_caption)
                             .adjusted(-2, 0, 2, 0) &
                         rect());
}

} // namespace vb
