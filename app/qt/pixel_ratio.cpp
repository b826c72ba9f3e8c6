#include "app/qt/pixel_ratio.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

// Asked of the paint engine's own device: a widget's painter paints on its
// window's back buffer or on the image it is rendered into, whose ratio may
// differ from the widget's screen.
qreal painter_pixel_ratio(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    return device ? device->devicePixelRatio() : 1.0;
}
