#include "app/qt/picture_loader.h"

QString picture_path(int id) { return QStringLiteral(":/pictures/picture_%1.bmp").arg(id); }

QImage load_picture(int id) { return QImage(picture_path(id)); }

QIcon application_icon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/pictures/icon_128_32.bmp"))));
    icon.addPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/pictures/icon_128_16.bmp"))));
    return icon;
}
