#include "canvas.h"

#include "screens/activities/quadrat_squares.h"

#include <QDir>
#include <QPainterPath>
#include <cstdio>

namespace pictures {

namespace {

struct Label {
    const char* text;
    QRectF rect; // screen pixels, inclusive edges as the screen gives them
    QColor colour;
    int align;
};

QRectF inclusive(qreal x0, qreal y0, qreal x1, qreal y1) {
    return QRectF(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

// The reflex screen as the program will lay it out: the picture at (16, 88),
// labels and pointer lines over it, and the neighbouring slot column and card rows.
QImage reflexComposite(int scale) {
    const QImage picture = render(kReflexSize, scale, drawReflexArc);
    return render(QSize(800, 600), scale, [&](QPainter& p) {
        const QColor yellow(255, 255, 0);
        const QColor blue(0, 0, 255);
        p.fillRect(QRectF(0, 0, 800, 600), QColor(39, 63, 137));
        p.drawImage(QRectF(QPointF(16, 88), QSizeF(kReflexSize)), picture);
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(inclusive(520, 80, 749, 424));
        p.drawRect(inclusive(16, 432, 749, 592));

        const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;
        const Label labels[] = {
            {"motor neurone", inclusive(24, 32, 152, 75), yellow, int(centred)},
            {"muscle", inclusive(238, 170, 342, 205), yellow, int(Qt::AlignLeft | Qt::AlignVCenter)},
            {"spinal cord", inclusive(50, 248, 129, 299), blue, int(centred)},
            {"hot cooker", inclusive(344, 280, 456, 311), yellow, int(centred)},
            {"sensory neurone", inclusive(136, 312, 264, 363), yellow, int(centred)},
        };
        p.setFont(boldFont(21));
        for (const Label& l : labels) {
            p.setPen(l.colour);
            p.drawText(l.rect, l.align | Qt::TextWordWrap, QString::fromLatin1(l.text));
        }
        auto line = [&](QColor c, qreal x0, qreal y0, qreal x1, qreal y1) {
            p.setPen(QPen(c, 2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(x0, y0), QPointF(x1, y1));
        };
        line(yellow, 88, 136, 88, 80);
        line(yellow, 168, 184, 232, 184);
        line(blue, 32, 272, 52, 272);
        line(yellow, 200, 312, 200, 256);
    });
}

// Opening screen and menus: the controls that sit over the background.
QImage menuComposite(int scale) {
    const QImage background = render(QSize(800, 600), scale, drawMenuBackground);
    const QImage logo = render(QSize(100, 139), scale, drawLogo);
    const QImage exit = render(QSize(119, 33), scale, drawExit);
    return render(QSize(800, 600), scale, [&](QPainter& p) {
        p.drawImage(QRectF(0, 0, 800, 600), background);
        p.fillRect(inclusive(32, 8, 764, 63), Qt::black);
        p.setFont(boldFont(36));
        p.setPen(QColor(255, 128, 192));
        p.drawText(inclusive(32, 8, 764, 63), Qt::AlignCenter, QStringLiteral("Biology Year 10"));
        p.setFont(boldFont(18));
        const char* buttons[] = {"Cells", "Enzymes", "Nerves", "Ecology", "Genetics", "Help", "Quiz"};
        for (int i = 0; i < 7; ++i) {
            const QRectF b = inclusive(568, 112 + i * 64, 789, 112 + i * 64 + 48);
            p.fillRect(b, Qt::black);
            p.setPen(QColor(255, 255, 0));
            p.drawText(b, Qt::AlignCenter, QString::fromLatin1(buttons[i]));
        }
        for (int i = 0; i < 4; ++i) {
            const QRectF b = inclusive(200, 160 + i * 60, 600, 160 + i * 60 + 50);
            p.fillRect(b, QColor(230, 230, 230));
            p.setPen(Qt::black);
            p.drawRect(b);
            p.drawText(b, Qt::AlignCenter, QStringLiteral("Activity %1").arg(i + 1));
        }
        p.drawImage(QRectF(12, 380, 100, 139), logo);
        p.drawImage(QRectF(4, 530, 119, 33), exit);
        QFont small = boldFont(11);
        small.setBold(false);
        p.setFont(small);
        p.setPen(QColor(255, 255, 0));
        p.drawText(inclusive(400, 578, 792, 596), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("\u00a9 Quorvane. All rights reserved."));
    });
}

// The field with its quadrats outlined as the screen draws them, enlarged for checking.
QImage fieldComposite(int scale) {
    const QImage field = render(kFieldSize, scale, drawField);
    return render(kFieldSize, scale, [&](QPainter& p) {
        p.drawImage(QRectF(QPointF(0, 0), QSizeF(kFieldSize)), field);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (const QuadratSquare& s : kQuadratSquares) {
            const qreal x = (s.Left - 210) / 15.0;
            const qreal y = (s.Top - 1410) / 15.0;
            p.setPen(Qt::NoPen);
            p.setBrush(s.sams ? QColor(255, 60, 60) : QColor(255, 255, 0));
            QPainterPath frame;
            frame.addRect(QRectF(x, y, 40, 40));
            frame.addRect(QRectF(x + 3, y + 3, 34, 34));
            p.drawPath(frame);
        }
    });
}

} // namespace

bool writePreviews(const QString& dir) {
    if (!QDir().mkpath(dir)) return false;
    struct Out {
        const char* name;
        QImage image;
    };
    const Out outs[] = {
        {"reflex-preview.png", reflexComposite(1)},
        {"reflex-preview@2x.png", reflexComposite(2)},
        {"menu-preview.png", menuComposite(1)},
        {"field-preview@2x.png", fieldComposite(2)},
    };
    for (const Out& o : outs) {
        const QString path = QDir(dir).filePath(QString::fromLatin1(o.name));
        if (!o.image.save(path)) {
            std::fprintf(stderr, "drawimages: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace pictures
