#include "Grey.h"

using namespace vb;

void Grey::Design() {
    // A click on it must never bring it over the screens: the runtime keeps it at the back of the stack.
    setStaysAtBottom(true);
    setWindowState(vbMaximized);
}

void Grey::Form_Load() {
    setBackColor(RGB(48, 133, 214));
}
