// Drawing shared by the control families: the Windows-style edges and text alignment.
#pragma once

#include <QPainter>
#include <QRect>

namespace vb {

void drawSunkenEdge(QPainter& p, const QRect& r);
void drawRaisedEdge(QPainter& p, const QRect& r, bool down);
Qt::Alignment horizontalAlignment(int a);

// The width of a 3-D border, sunken or raised.
constexpr int kBorder3D = 2;

} // namespace vb
