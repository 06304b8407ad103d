// The yardstick: a bare Qt Widgets program, one 800 x 600 window with a label and a button, started the way
// the program is started. It reports its first completed paint and ends.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    auto* label = new QLabel(QStringLiteral("A bare Qt window"), &window);
    label->move(40, 40);
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    button->move(40, 80);
    firstpaint::watchFirstPaint([&](QWidget* w) { return w == &window; }, [] { QCoreApplication::exit(0); });
    window.show();
    return app.exec();
}
