#include "Module1.h"

using namespace vb;

int hidedesktop = 0;

void ApplyHouseStyle(Form& frm) {
    frm.setBackColor(kHouseBlue);
    frm.setIcon(LoadPicture(""));

    // From here on a step that fails is skipped, and the pointer is always back to normal at the end.
    Try([&] {
        Control* picture1 = frm.findControl(QStringLiteral("Picture1"));
        if (!picture1) throw RuntimeError(730, QStringLiteral("Control 'Picture1' not found"));
        picture1->setBackColor(kHouseBlue);
    });
    Try([&] { frm.setWidth(12000); });
    Try([&] { frm.setHeight(9000); });
    Try([&] { frm.setScaleMode(vbTwips); });
    Try([&] {
        (void)Screen.Width();
        (void)Screen.Height();
    });
    Try([&] { Screen.setMousePointer(vbHourglass); });
    Try([&] { frm.setTop(Single(double(Screen.Height()) / 2 - double(frm.Height()) / 2)); });
    Try([&] { frm.setLeft(Single(double(Screen.Width()) / 2 - double(frm.Width()) / 2)); });
    Try([&] { Screen.setMousePointer(vbDefault); });
}

namespace {
// Set while other translation units start up: kept where it is built on first use.
ScreenOpener& opener() {
    static ScreenOpener o;
    return o;
}
} // namespace

void setScreenOpener(ScreenOpener o) {
    opener() = std::move(o);
}

const ScreenOpener& screenOpener() {
    return opener();
}

FormGetter screenOpenedBy(const Form& from, const QString& control) {
    return opener() ? opener()(from.Name(), control) : nullptr;
}
