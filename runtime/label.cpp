// Labels: text on a form, with or without a sunken border.
#include "controls.h"
#include "edges.h"

#include "form.h"
#include "runtime.h"

#include <QCache>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace vb {

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

namespace {
// Screens are built afresh on every visit, with the same captions in the same boxes: laying the text out
// (shaping, line breaking) was a fifth of the work of a screen change. A layout is drawn and measured, never
// changed, so one is kept for each text, font, alignment and width, and the least recently used go first.
struct LayoutKey {
    QString caption;
    QFont font;
    int alignment;
    int width;
    bool operator==(const LayoutKey&) const = default;
};
size_t qHash(const LayoutKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.caption, k.font, k.alignment, k.width);
}

using LayoutCache = QCache<LayoutKey, std::shared_ptr<const QTextLayout>>;
LayoutCache& keptLayouts() {
    static LayoutCache kept(1000);
    // Layouts hold font engines, which must go while the application and its fonts are still there.
    [[maybe_unused]] static const bool emptiedAtExit = [] {
        qAddPostRoutine([] { keptLayouts().clear(); });
        return true;
    }();
    return kept;
}

std::shared_ptr<const QTextLayout> layoutFor(const QString& caption, const QFont& font, int alignment,
                                             int width) {
    LayoutCache& kept = keptLayouts();
    const LayoutKey key{caption, font, alignment, width};
    if (const auto* found = kept.object(key)) return *found;
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    auto layout = std::make_shared<QTextLayout>(text, font);
    QTextOption option(horizontalAlignment(alignment));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    qreal y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    kept.insert(key, new std::shared_ptr<const QTextLayout>(layout));
    return layout;
}

// Glyphs larger than 64 device pixels are beyond Qt's glyph cache: each is filled as a path every time it is
// painted, which was most of a screen change on a 4K board. Text that large is drawn once into a picture at
// the display's resolution and kept while some label's place (screen, name and index) shows it: a second
// visit finds it, labels with the same text share it, and a caption that changes at run time (the sentence
// builder's random themes) lets its old picture go rather than piling up beside it.
struct DrawingKey {
    LayoutKey layout;
    QRgb colour;
    int height;
    qreal ratio;
    bool operator==(const DrawingKey&) const = default;
};
size_t qHash(const DrawingKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.layout, k.colour, k.height, k.ratio);
}
struct Place {
    QString screen, name;
    int index;
    bool operator==(const Place&) const = default;
};
size_t qHash(const Place& k, size_t seed = 0) {
    return qHashMulti(seed, k.screen, k.name, k.index);
}
struct Drawing {
    QPoint at; // the picture's place in the text box
    QImage picture;
    int places = 0; // that show it
};
struct KeptDrawings {
    QHash<DrawingKey, Drawing> drawings;
    QHash<Place, DrawingKey> shown;
};
constexpr int kLargestCachedGlyph = 64;
constexpr qsizetype kLargestKeptDrawing = 16 << 20;

KeptDrawings& keptDrawings() {
    static KeptDrawings kept;
    // Their keys hold fonts, which must go while the application is still there.
    [[maybe_unused]] static const bool emptiedAtExit = [] {
        qAddPostRoutine([] { keptDrawings() = {}; });
        return true;
    }();
    return kept;
}

// Each glyph of large text is filled as a path once for its font, size, factor and sixteenth of a pixel, and
// kept as its coverage: a caption never shown before (the sentence builder's random lines) is then put
// together from glyphs already filled, where filling it whole took about 6 ms a line on a 4K board.
struct GlyphKey {
    QString family, face;
    qreal size;
    int weight, slant; // a face Qt slants or emboldens itself keeps the plain face's name
    quint32 index;
    qreal ratio;
    int sixteenthX, sixteenthY;
    bool operator==(const GlyphKey&) const = default;
};
size_t qHash(const GlyphKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.family, k.face, k.size, k.weight, k.slant, k.index, k.ratio, k.sixteenthX,
                      k.sixteenthY);
}
struct GlyphMask {
    QPoint at;       // its top left from the glyph's origin, in the display's pixels
    QImage coverage; // Format_Alpha8
};
// Bounded: the sentence builder's random lines would otherwise add every glyph at every offset it meets.
using GlyphMasks = QCache<GlyphKey, GlyphMask>;
GlyphMasks& glyphMasks() {
    static GlyphMasks masks(8 << 20); // bytes of coverage
    [[maybe_unused]] static const bool emptiedAtExit = [] {
        qAddPostRoutine([] { glyphMasks().clear(); });
        return true;
    }();
    return masks;
}

GlyphMask maskFor(const QRawFont& font, quint32 index, qreal ratio, int sixteenthX, int sixteenthY) {
    const GlyphKey key{
        font.familyName(), font.styleName(), font.pixelSize(), font.weight(), int(font.style()), index, ratio,
        sixteenthX,        sixteenthY};
    if (const GlyphMask* found = glyphMasks().object(key)) return *found;
    QPainterPath path = font.pathForGlyph(index);
    path = QTransform(ratio, 0, 0, ratio, sixteenthX / 16.0, sixteenthY / 16.0).map(path);
    const QRect box = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    QImage fill(box.size(), QImage::Format_ARGB32_Premultiplied);
    fill.fill(Qt::transparent);
    QPainter p(&fill);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-box.topLeft());
    p.fillPath(path, Qt::black);
    p.end();
    const GlyphMask made{box.topLeft(), fill.convertToFormat(QImage::Format_Alpha8)};
    glyphMasks().insert(key, new GlyphMask(made), std::max<qsizetype>(1, made.coverage.sizeInBytes()));
    return made;
}

// Lays a glyph's coverage onto the picture's, as ink over ink.
void cover(QImage& picture, QPoint at, const QImage& coverage) {
    const QRect target = QRect(at, coverage.size()) & picture.rect();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const uchar* a = coverage.constScanLine(y - at.y()) + (target.left() - at.x());
        uchar* d = picture.scanLine(y) + target.left();
        for (int x = 0; x < target.width(); ++x, ++a, ++d)
            if (*a) *d = uchar(*a + (*d * (255 - *a) + 127) / 255);
    }
}

Drawing draw(const DrawingKey& key, const QTextLayout& layout) {
    // Only where there is ink (with room for glyphs that reach past their advance): a short caption in a wide
    // box keeps a small picture.
    QRectF ink;
    for (int i = 0; i < layout.lineCount(); ++i)
        ink |= layout.lineAt(i).naturalTextRect();
    const qreal overhang = key.layout.font.pixelSize() / 4.0;
    const QRect area =
        ink.adjusted(-overhang, 0, overhang, 0).toAlignedRect() & QRect(0, 0, key.layout.width, key.height);
    const QSize pixels = (QSizeF(area.size()) * key.ratio).toSize().expandedTo({1, 1});
    if (qsizetype(pixels.width()) * pixels.height() * 4 > kLargestKeptDrawing) return {};
    const QList<QGlyphRun> runs = layout.glyphRuns();
    const bool decorated = std::any_of(runs.cbegin(), runs.cend(), [](const QGlyphRun& run) {
        return run.underline() || run.overline() || run.strikeOut();
    });
    if (decorated) { // lines are Qt's to draw
        Drawing d{area.topLeft(), QImage(pixels, QImage::Format_ARGB32_Premultiplied)};
        d.picture.fill(Qt::transparent);
        d.picture.setDevicePixelRatio(key.ratio);
        QPainter p(&d.picture);
        p.setPen(QColor::fromRgb(key.colour));
        layout.draw(&p, -area.topLeft());
        return d;
    }
    // Kept as its coverage, a byte a pixel, with the colour in the table: a quarter of the memory of the
    // colours themselves, which at 3840 x 2160 came to 20 MB for a lesson's captions.
    Drawing d{area.topLeft(), QImage(pixels, QImage::Format_Indexed8)};
    QList<QRgb> shades(256);
    for (int k = 0; k < 256; ++k)
        shades[k] = qRgba(qRed(key.colour), qGreen(key.colour), qBlue(key.colour), k);
    d.picture.setColorTable(shades);
    d.picture.fill(0);
    for (const QGlyphRun& run : runs) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> places = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QPointF at = (places[i] - area.topLeft()) * key.ratio;
            const QPoint whole(int(std::floor(at.x())), int(std::floor(at.y())));
            const int sixteenthX = int((at.x() - whole.x()) * 16 + 0.5),
                      sixteenthY = int((at.y() - whole.y()) * 16 + 0.5);
            const GlyphMask mask = maskFor(run.rawFont(), glyphs[i], key.ratio, sixteenthX, sixteenthY);
            cover(d.picture, whole + mask.at, mask.coverage);
        }
    }
    d.picture.setDevicePixelRatio(key.ratio);
    return d;
}

// None for a picture too large to keep, which is then drawn as it stands.
const Drawing* drawingFor(const Place& place, const DrawingKey& key, const QTextLayout& layout) {
    KeptDrawings& kept = keptDrawings();
    const auto shown = kept.shown.constFind(place);
    if (shown != kept.shown.cend()) {
        if (*shown == key) return &kept.drawings[key];
        const auto old = kept.drawings.find(*shown);
        if (--old->places == 0) kept.drawings.erase(old);
        kept.shown.erase(shown);
    }
    auto found = kept.drawings.find(key);
    if (found == kept.drawings.end()) {
        Drawing d = draw(key, layout);
        if (d.picture.isNull()) return nullptr;
        found = kept.drawings.insert(key, std::move(d));
    }
    ++found->places;
    kept.shown.insert(place, key);
    return &*found;
}
} // namespace

void Label::ensureLayout() const {
    const int width = std::max(1, textRect().width());
    if (!m_layoutStale && width == m_layoutWidth) return;
    m_layoutStale = false;
    m_layoutWidth = width;
    m_layout = m_caption.isEmpty() ? nullptr : layoutFor(m_caption, m_qfont, m_alignment, width);
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
    // In the caption's colour, which stands out on the label's own ground.
    drawFocusMark(p, textRect().adjusted(1, 1, -1, -1), toQColor(ForeColor()));
    ensureLayout();
    if (!m_layout) return;
    const QRect box = textRect();
    const QColor pen = isEnabled() ? toQColor(ForeColor()) : QColor(128, 128, 128);
    const qreal ratio = devicePixelRatioF();
    if (m_qfont.pixelSize() * ratio > kLargestCachedGlyph) {
        const DrawingKey key{
            {m_caption, m_qfont, m_alignment, m_layoutWidth}, pen.rgb(), box.height(), ratio};
        if (const Drawing* d = drawingFor({window()->objectName(), Name(), Index()}, key, *m_layout)) {
            p.drawImage(box.topLeft() + d->at, d->picture);
            return;
        }
    }
    p.setClipRect(box);
    p.setPen(pen);
    m_layout->draw(&p, box.topLeft());
}

} // namespace vb
