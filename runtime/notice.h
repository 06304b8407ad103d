// A short message on a window that does not stop the lesson: it takes no press and no key, and goes by
// itself after a few seconds. A newer one takes the place of the one shown.
#pragma once

#include <QString>

class QWidget;

namespace vb {

void showNotice(QWidget* window, const QString& text, int ms = 5000);

} // namespace vb
