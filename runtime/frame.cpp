// Frames: a captioned border that groups controls.
#include "controls.h"
#include "edges.h"

#include "form.h"
#include "runtime.h"

#include <QPainter>

namespace vb {

Frame::Frame(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Frame::setCaption(const QString& text) {
    m_caption = text;
    update();
}

void Frame::setBorderStyle(int style) {
    m_borderStyle = style;
    update();
}

void Frame::copyFrom(const Control& src) {
    const auto& s = static_cast<const Frame&>(src);
    m_caption = s.m_caption;
    m_borderStyle = s.m_borderStyle;
    Control::copyFrom(src);
}

void Frame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(BackColor()));
    if (m_borderStyle == vbBSNone) return;
    const QFont font = resolveFont(Font());
    const int top = m_caption.isEmpty() ? 0 : QFontMetrics(font).height() / 2;
    // An etched outline, as a group box draws it.
    const QRect r = rect().adjusted(0, top, -2, -2);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(r);
    p.setPen(Qt::white);
    p.drawRect(r.translated(1, 1));
    if (!m_caption.isEmpty()) {
        p.setFont(font);
        const QRect text(8, 0, QFontMetrics(font).horizontalAdvance(m_caption) + 4,
                         QFontMetrics(font).height());
        p.fillRect(text, toQColor(BackColor()));
        p.setPen(toQColor(ForeColor()));
        p.drawText(text, Qt::AlignCenter, m_caption);
    }
}

} // namespace vb
