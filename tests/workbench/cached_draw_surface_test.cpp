// The workbench's surface keeps each picture once loaded, in the size that
// suits the target's pixel density.

#include <QPainter>

#include "app/dense_image.h"
#include "app/qt/picture_loader.h"
#include "app/qt_app.h"
#include "panel/picture_ids.h"
#include "workbench/cached_draw_surface.h"

namespace {

// Paints at twice the density and at the plain one in turn: each gets its own
// picture from the cache, whichever was loaded first.
TEST(CachedDrawSurface, EachPixelDensityGetsItsOwnPicture)
{
    qt_app();
    for (qreal ratio : {2.0, 1.0, 2.0, 1.0}) {
        QImage target(QSize(218, 49) * ratio, QImage::Format_RGB32);
        target.setDevicePixelRatio(ratio);
        {
            QPainter painter(&target);
            CCachedDrawSurface surface(painter);
            surface.DrawPicture(PICTURE_GUIDE, CRect{0, 0, 218, 49});
        }
        EXPECT_TRUE(shows_at(target, QPoint(0, 0), load_picture(PICTURE_GUIDE, ratio))) << "ratio " << ratio;
    }
}

}  // namespace
