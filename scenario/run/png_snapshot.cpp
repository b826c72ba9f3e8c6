#include "scenario/run/png_snapshot.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/qt/qt_draw_surface.h"
#include "cli/output_file.h"
#include "sim/virtual_simulator.h"

namespace {

void drop_message(QtMsgType, const QMessageLogContext&, const QString&) {}

// Fonts need an application; the runner has no window, so offscreen is the
// default, and nothing of Qt is heard (such as its warning when
// XDG_RUNTIME_DIR is not set).
void ensure_application()
{
    if (QGuiApplication::instance())
        return;
    qInstallMessageHandler(drop_message);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "trelvik-scenario";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

}  // namespace

bool CPngSnapshot::Save(CVirtualSimulator& sim, const std::string& path, std::string& error)
{
    ensure_application();
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(panel_font());
        CQtDrawSurface surface(painter);
        sim.Paint(surface);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "cannot encode the picture as PNG";
        return false;
    }
    return COutputFile::WriteWhole(path, bytes.constData(), static_cast<size_t>(bytes.size()), error);
}
