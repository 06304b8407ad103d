// Image and PictureBox: a picture on a form.
#include "controls.h"
#include "edges.h"

#include "form.h"
#include "runtime.h"

#include <QPainter>

namespace vb {

Image::Image(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {}

void Image::setPicture(const vb::Picture& p) {
    m_picture = p;
    // Without Stretch the control takes the picture's own size.
    if (!m_stretch && !p.isEmpty()) {
        setWidth(p.Width());
        setHeight(p.Height());
    }
    update();
}

void Image::setStretch(bool s) {
    m_stretch = s;
    update();
}

void Image::copyFrom(const Control& src) {
    const auto& s = static_cast<const Image&>(src);
    m_picture = s.m_picture;
    m_stretch = s.m_stretch;
    Control::copyFrom(src);
}

void Image::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_stretch && !m_picture.isEmpty())
        p.drawPixmap(rect(), m_picture.pixmap());
    else if (!m_picture.isEmpty())
        p.drawPixmap(0, 0, m_picture.pixmap());
    drawFocusMark(p, rect());
}

PictureBox::PictureBox(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const vb::Picture& p) {
    m_picture = p;
    update();
}

void PictureBox::copyFrom(const Control& src) {
    m_picture = static_cast<const PictureBox&>(src).m_picture;
    Control::copyFrom(src);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(BackColor()));
    if (!m_picture.isEmpty()) p.drawPixmap(0, 0, m_picture.pixmap());
    drawFocusMark(p, rect());
}

} // namespace vb
