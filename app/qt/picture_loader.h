#pragma once
// The panel's pictures and the application's icon, embedded as resources and
// loaded by identifier. Each picture comes at its own size and at twice its
// size ("@2x") for screens of twice the pixel density.

#include <QIcon>
#include <QImage>
#include <QString>

// The scale of the picture file that suits a screen of the given device pixel
// ratio: 2 above a ratio of 1, else 1.
int picture_scale(qreal ratio);

QString picture_path(int id, qreal ratio = 1.0);
// Loads the picture afresh for a screen of the given device pixel ratio; the
// one at twice the size carries a device pixel ratio of 2, so its size in
// panel pixels is that of the other. A null image when there is no such picture.
QImage load_picture(int id, qreal ratio = 1.0);

// The application's icon in 32 x 32 and 16 x 16, each also at twice the density.
QIcon application_icon();
// The tool-bar button's picture, 16 x 15, also at twice the density.
QIcon toolbar_icon();
