// The yardstick: a bare Qt Widgets program, one 800 x 600 window with a label and a button, started the way
// the program is started. It reports its first completed paint and ends. Given a factor and a size
// (`3.6 364x438`) it opens a window of that size at that factor instead: the program's first window on the
// same display.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    const QStringList sized =
        argc == 3 ? QStringList{QString::fromLatin1(argv[2]).split(QLatin1Char('x'))} : QStringList();
    if (sized.size() == 2) qputenv("QT_SCALE_FACTOR", argv[1]);
    QApplication app(argc, argv);
    QWidget window;
    window.resize(sized.size() == 2 ? QSize(sized[0].toInt(), sized[1].toInt()) : QSize(800, 600));
    auto* label = new QLabel(QStringLiteral("A bare Qt window"), &window);
    label->move(40, 40);
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    button->move(40, 80);
    firstpaint::watchFirstPaint([&](QWidget* w) { return w == &window; }, [] { QCoreApplication::exit(0); });
    window.show();
    return app.exec();
}
