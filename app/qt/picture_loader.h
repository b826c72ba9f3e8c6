#pragma once
// The panel's pictures, embedded as resources and loaded by identifier.

#include <QImage>
#include <QString>

QString picture_path(int id);
QImage load_picture(int id);

#include <QIcon>
// The application's icon in 32 x 32 and 16 x 16.
QIcon application_icon();
