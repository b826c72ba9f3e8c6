#pragma once
// The panel's pictures and the application's icon, embedded as resources and
// loaded by identifier.

#include <QIcon>
#include <QImage>
#include <QString>

QString picture_path(int id);
// Loads the picture afresh; a null image when there is no such picture.
QImage load_picture(int id);

// The application's icon in 32 x 32 and 16 x 16.
QIcon application_icon();
