#include "pageexport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

namespace pageexport {

namespace {
// As the board draws them (odd widths on pixel centres), so the files show what the board showed.
QPointF place(const PageSteps::Point& p) {
    const qreal centre = (p.width % 2) ? 0.5 : 0.0;
    return QPointF(p.x / vb::kTwipsPerPixel + centre, p.y / vb::kTwipsPerPixel + centre);
}
} // namespace

void paint(QPainter& p, const Page& page) {
    p.fillRect(QRectF(QPointF(0, 0), page.size), vb::toQColor(kPageColour));
    p.setClipRect(QRectF(QPointF(0, 0), page.size));
    p.setRenderHint(QPainter::Antialiasing);
    for (const PageSteps::Step* s : page.strokes) {
        // Runs of segments with one pen are one path, so a PDF holds a stroke as a few curves, not dots.
        for (size_t i = 1; i < s->path.size();) {
            const PageSteps::Point& pen = s->path[i];
            QPainterPath run(place(s->path[i - 1]));
            size_t j = i;
            for (; j < s->path.size() && s->path[j].colour == pen.colour && s->path[j].width == pen.width;
                 ++j)
                run.lineTo(place(s->path[j]));
            p.setPen(QPen(vb::toQColor(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            if (run.elementCount() == 2 && run.elementAt(0) == run.elementAt(1))
                p.drawPoint(run.elementAt(0));
            else
                p.drawPath(run);
            i = j;
        }
    }
}

QString folder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

QString save(const Page& page, const QString& into) {
    const QDir dir(into);
    const QString stamp =
        QStringLiteral("Jotter ") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    QString name = stamp;
    for (int n = 2; dir.exists(name + QStringLiteral(".pdf")) || dir.exists(name + QStringLiteral(".png"));
         ++n)
        name = stamp + QStringLiteral(" (%1)").arg(n);

    QSaveFile pdf(dir.filePath(name + QStringLiteral(".pdf")));
    if (!pdf.open(QIODevice::WriteOnly)) return {};
    {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("Biology Year 10 Zestora Demo"));
        writer.setTitle(name);
        // One point of the PDF for each pixel of the board, at 96 to the inch; no margin.
        writer.setResolution(96);
        writer.setPageMargins(QMarginsF());
        writer.setPageSize(
            QPageSize(page.size * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
        QPainter p(&writer);
        paint(p, page);
    }
    QImage picture((page.size * page.ratio).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(page.ratio);
    {
        QPainter p(&picture);
        paint(p, page);
    }
    QSaveFile png(dir.filePath(name + QStringLiteral(".png")));
    if (!png.open(QIODevice::WriteOnly) || !picture.save(&png, "PNG") || !pdf.commit()) return {};
    if (!png.commit()) {
        QFile::remove(pdf.fileName());
        return {};
    }
    return name;
}

void print(QPrinter& printer, const Page& page) {
    QPainter p(&printer);
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal scale = std::min(paper.width() / page.size.width(), paper.height() / page.size.height());
    p.translate((paper.width() - page.size.width() * scale) / 2,
                (paper.height() - page.size.height() * scale) / 2);
    p.scale(scale, scale);
    paint(p, page);
}

} // namespace pageexport
