#include "app/qt/picture_loader.h"

#include <QPixmap>

namespace {

// Qt's image reader gives a file named NAME@2x a device pixel ratio of 2.
QString resource(const QString& name, int scale)
{
    return QStringLiteral(":/pictures/%1%2.bmp").arg(name, scale == 1 ? QString() : QStringLiteral("@2x"));
}

void add_both_scales(QIcon& icon, const QString& name)
{
    for (int scale : {1, 2})
        icon.addPixmap(QPixmap::fromImage(QImage(resource(name, scale))));
}

}  // namespace

int picture_scale(qreal ratio) { return ratio > 1.0 ? 2 : 1; }

QString picture_path(int id, qreal ratio)
{
    return resource(QStringLiteral("picture_%1").arg(id), picture_scale(ratio));
}

QImage load_picture(int id, qreal ratio) { return QImage(picture_path(id, ratio)); }

QIcon application_icon()
{
    QIcon icon;
    add_both_scales(icon, QStringLiteral("icon_128_32"));
    add_both_scales(icon, QStringLiteral("icon_128_16"));
    return icon;
}

QIcon toolbar_icon()
{
    QIcon icon;
    add_both_scales(icon, QStringLiteral("toolbar_128"));
    return icon;
}
