#include "controls.h"

#include "form.h"
#include "runtime.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vb {

namespace {
constexpr int kBorder3D = 2;

// The sunken edge of a bordered label or a list: dark above and left, light below and right.
// One-pixel rows and columns are filled, not stroked: every label button has this edge, and stroking eight
// lines cost more than the rest of its paint but the text.
void drawSunkenEdge(QPainter& p, const QRect& r) {
    auto row = [&](int x1, int x2, int y, const QColor& c) { p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c); };
    auto column = [&](int x, int y1, int y2, const QColor& c) {
        p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c);
    };
    const QRect o = r.adjusted(0, 0, -1, -1);
    const QColor shadow(128, 128, 128), light(Qt::white), darkShadow(64, 64, 64), face(212, 208, 200);
    row(o.left(), o.right(), o.top(), shadow);
    column(o.left(), o.top(), o.bottom(), shadow);
    row(o.left(), o.right(), o.bottom(), light);
    column(o.right(), o.top(), o.bottom(), light);
    const QRect i = o.adjusted(1, 1, -1, -1);
    row(i.left(), i.right(), i.top(), darkShadow);
    column(i.left(), i.top(), i.bottom(), darkShadow);
    row(i.left(), i.right(), i.bottom(), face);
    column(i.right(), i.top(), i.bottom(), face);
}

void drawRaisedEdge(QPainter& p, const QRect& r, bool down) {
    const QRect o = r.adjusted(0, 0, -1, -1);
    const QRect i = o.adjusted(1, 1, -1, -1);
    if (down) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(o);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(i);
        return;
    }
    p.setPen(Qt::white);
    p.drawLine(o.topLeft(), o.topRight());
    p.drawLine(o.topLeft(), o.bottomLeft());
    p.setPen(Qt::black);
    p.drawLine(o.bottomLeft(), o.bottomRight());
    p.drawLine(o.topRight(), o.bottomRight());
    p.setPen(QColor(128, 128, 128));
    p.drawLine(i.bottomLeft(), i.bottomRight());
    p.drawLine(i.topRight(), i.bottomRight());
}

Qt::Alignment horizontalAlignment(int a) {
    return a == vbCenter ? Qt::AlignHCenter : a == vbRightJustify ? Qt::AlignRight : Qt::AlignLeft;
}
} // namespace

// ---- Label ----

Label::Label(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackColor(RGB(192, 192, 192));
    setForeColor(RGB(0, 0, 0));
    fontChanged();
}

void Label::setCaption(const QString& text) {
    if (text == m_caption) return;
    m_caption = text;
    relayout();
}

void Label::setBackStyle(int style) {
    if (style == m_backStyle) return;
    m_backStyle = style;
    setAttribute(Qt::WA_OpaquePaintEvent, m_backStyle == vbOpaque);
    update();
}

void Label::setBorderStyle(int style) {
    if (style == m_borderStyle) return;
    m_borderStyle = style;
    relayout();
}

void Label::setAlignment(int alignment) {
    if (alignment == m_alignment) return;
    m_alignment = alignment;
    relayout();
}

void Label::copyFrom(const Control& src) {
    const auto& s = static_cast<const Label&>(src);
    m_caption = s.m_caption;
    m_backStyle = s.m_backStyle;
    m_borderStyle = s.m_borderStyle;
    m_alignment = s.m_alignment;
    setAttribute(Qt::WA_OpaquePaintEvent, m_backStyle == vbOpaque);
    Control::copyFrom(src);
}

void Label::fontChanged() {
    m_qfont = resolveFont(Font());
    relayout();
}

void Label::resizeEvent(QResizeEvent*) {
    relayout();
}

void Label::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(e);
}

QRect Label::textRect() const {
    return m_borderStyle == vbFixedSingle ? rect().adjusted(kBorder3D, kBorder3D, -kBorder3D, -kBorder3D)
                                          : rect();
}

void Label::relayout() {
    // A label's design sets caption, font, alignment and border one after another, and showing it sends the
    // size: the text is laid out once, when it is next painted or measured, not after each of them.
    m_layoutStale = true;
    update();
}

void Label::ensureLayout() const {
    const int width = std::max(1, textRect().width());
    if (!m_layoutStale && width == m_layoutWidth) return;
    m_layoutStale = false;
    m_layoutWidth = width;
    m_layout.reset();
    if (!m_caption.isEmpty()) {
        QString text = m_caption;
        text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        m_layout = std::make_unique<QTextLayout>(text, m_qfont);
        QTextOption option(horizontalAlignment(m_alignment));
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout->setTextOption(option);
        m_layout->setCacheEnabled(true);
        qreal y = 0;
        m_layout->beginLayout();
        for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        m_layout->endLayout();
    }
}

bool Label::captionFits() const {
    if (m_caption.isEmpty()) return true;
    ensureLayout();
    const QRect box = textRect();
    const QFontMetricsF fm(m_qfont);
    const QStringList words = QString(m_caption)
                                  .replace(QLatin1Char('\n'), QLatin1Char(' '))
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& w : words)
        if (fm.horizontalAdvance(w) > box.width()) return false;
    return m_layout && m_layout->boundingRect().height() <= box.height() + 0.01;
}

void Label::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_backStyle == vbOpaque) p.fillRect(rect(), toQColor(BackColor()));
    if (m_borderStyle == vbFixedSingle) drawSunkenEdge(p, rect());
    ensureLayout();
    if (!m_layout) return;
    const QRect box = textRect();
    p.setClipRect(box);
    p.setPen(isEnabled() ? toQColor(ForeColor()) : QColor(128, 128, 128));
    m_layout->draw(&p, box.topLeft());
}

// ---- CommandButton ----

CommandButton::CommandButton(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setBackColor(RGB(192, 192, 192));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFontDesc(FontDesc{QStringLiteral("Tahoma"), 8.25f});
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
}

// ---- Image and PictureBox ----

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
    if (m_picture.isEmpty()) return;
    QPainter p(this);
    if (m_stretch)
        p.drawPixmap(rect(), m_picture.pixmap());
    else
        p.drawPixmap(0, 0, m_picture.pixmap());
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
}

// ---- Frame ----

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

// ---- ComboBox ----

namespace {
class DropDownList : public QComboBox {
public:
    std::function<void()> onDropDown;
    using QComboBox::QComboBox;
    void showPopup() override {
        if (onDropDown) onDropDown();
        QComboBox::showPopup();
    }
};
} // namespace

ComboBox::ComboBox(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    auto* box = new DropDownList(this);
    m_box = box;
    m_box->setEditable(false);
    m_box->setMouseTracking(true);
    // A scrolling list of bounded height, not a menu that runs off the bottom of an 800 x 600 screen.
    m_box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    m_box->setMaxVisibleItems(12);
    box->onDropDown = [this] {
        if (stale()) return;
        Runtime::dispatch([&] {
            if (auto& h = handlers().dropDown) h(Index());
        });
    };
    connect(m_box, &QComboBox::activated, this, [this](int) {
        if (stale()) return;
        Runtime::dispatch([&] {
            if (auto& h = handlers().click) h(Index());
        });
    });
    setBackColor(RGB(255, 255, 255));
    fontChanged();
}

void ComboBox::AddItem(const QString& item) {
    const int chosen = m_box->currentIndex();
    m_box->addItem(item);
    // A list starts with nothing chosen; adding items must not choose the first one.
    m_box->setCurrentIndex(chosen);
}
void ComboBox::Clear() {
    m_box->clear();
}
int ComboBox::ListCount() const {
    return m_box->count();
}
QString ComboBox::List(int i) const {
    return m_box->itemText(i);
}
int ComboBox::ListIndex() const {
    return m_box->currentIndex();
}
void ComboBox::setListIndex(int i) {
    if (i < -1 || i >= m_box->count())
        throw RuntimeError(err::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    m_box->setCurrentIndex(i);
}
QString ComboBox::Text() const {
    return m_box->currentIndex() < 0 ? QString() : m_box->currentText();
}

void ComboBox::setBackColor(OleColor c) {
    Control::setBackColor(c);
    applyColours();
}
void ComboBox::setForeColor(OleColor c) {
    Control::setForeColor(c);
    applyColours();
}

void ComboBox::applyColours() {
    QPalette pal = m_box->palette();
    for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
        pal.setColor(role, toQColor(BackColor()));
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(role, toQColor(ForeColor()));
    m_box->setPalette(pal);
    // The opened list is a white list with dark text, as a drop-down list always is.
    QPalette list = m_box->view()->palette();
    list.setColor(QPalette::Base, Qt::white);
    list.setColor(QPalette::Text, Qt::black);
    m_box->view()->setPalette(list);
}

QWidget* ComboBox::pointerWidget() {
    return m_box;
}

Control* ComboBox::copyAsElement(int index) const {
    auto* c = makeCopy<ComboBox>(index);
    for (int i = 0; i < m_box->count(); ++i)
        c->m_box->addItem(m_box->itemText(i));
    c->m_box->setCurrentIndex(-1);
    c->applyColours();
    return c;
}

void ComboBox::fontChanged() {
    m_box->setFont(resolveFont(Font()));
}

void ComboBox::resizeEvent(QResizeEvent*) {
    m_box->setGeometry(rect());
}

// ---- CheckBox ----

CheckBox::CheckBox(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    p.drawText(rect().adjusted(side + 6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               m_caption);
}

} // namespace vb
