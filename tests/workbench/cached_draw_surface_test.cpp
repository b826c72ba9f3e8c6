// The workbench keeps each picture once loaded, by identifier and density: a
// panel painted for a dense screen after an ordinary one gets the pictures of
// twice the size, not the ones kept from before.

#include <QPainter>

#include "app/qt/picture_loader.h"
#include "app/qt_app.h"
#include "panel/picture_ids.h"
#include "workbench/widgets/cached_draw_surface.h"

namespace {

using CachedDrawSurface = CQtTest;

// The picture drawn at (0, 0) of an image of the given density.
QImage drawn(int id, qreal ratio)
{
    const QImage own = load_picture(id, ratio);
    QImage image(own.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    CCachedDrawSurface surface(painter);
    const QSizeF size = own.deviceIndependentSize();
    surface.DrawPicture(id, CRect{0, 0, static_cast<int>(size.width()), static_cast<int>(size.height())});
    return image;
}

TEST_F(CachedDrawSurface, KeepsEachPictureByIdentifierAndDensity)
{
    for (const qreal ratio : {1.0, 2.0, 1.0}) {
        const QImage expected = load_picture(PICTURE_GUIDE, ratio).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(drawn(PICTURE_GUIDE, ratio), expected) << "ratio " << ratio;
    }
}

}  // namespace
