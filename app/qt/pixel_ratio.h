#pragma once
// The pixel density a painter draws at: device pixels per panel pixel on the
// device its pixels land on (the window's back buffer, or an image a widget is
// rendered into), 1 on an ordinary screen and 2 on one of twice the density.

#include <QtGlobal>

class QPainter;

qreal painter_pixel_ratio(const QPainter& painter);
