// Draws every picture of the panel, the tool-bar button and the application
// icon, each of exactly its size, as 24-bit BMP files; and each again at twice
// its size for screens of twice the pixel density, as NAME@2x.bmp.
//
// usage: make_pictures OUTDIR [--sheet SHEET.png]
// (run with QT_QPA_PLATFORM=offscreen; a Korean font such as NanumGothic is needed)

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "panel/picture_ids.h"

namespace {

const QColor WHITE(255, 255, 255);
const QColor BLACK(0, 0, 0);
const QColor PANEL_BLUE(232, 238, 247);  // the light grey-blue of lid, body, drawer and motor discs
const QColor RING_GREY(150, 150, 150);
const QColor LIGHT_GREY(205, 205, 205);
const QColor PIPE_RED(64, 0, 0);
const QColor WATER_BLUE(0, 0, 255);
const QColor OLIVE(189, 189, 0);
const QColor FRAME_GREEN(0, 128, 0);
const QColor BUTTON_GREY(192, 192, 192);

using Painter = std::function<void(QPainter&, int w, int h)>;

struct CPicture {
    QString name;
    int width;
    int height;
    Painter paint;
};

// The picture at `scale` image pixels per picture pixel: the same drawing on a
// painter scaled up, so that its edges and lines stay sharp at every scale.
QImage render(const CPicture& picture, int scale = 1)
{
    QImage image(picture.width * scale, picture.height * scale, QImage::Format_RGB888);
    image.setDevicePixelRatio(scale);
    image.fill(WHITE);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    picture.paint(p, picture.width, picture.height);
    return image;
}

// A one-pixel frame on the border pixels of the w x h box at (x, y). Drawn as
// fills, it covers exactly those pixels at every scale.
void frame(QPainter& p, int x, int y, int w, int h, const QColor& colour)
{
    p.fillRect(x, y, w, 1, colour);
    p.fillRect(x, y + h - 1, w, 1, colour);
    p.fillRect(x, y + 1, 1, h - 2, colour);
    p.fillRect(x + w - 1, y + 1, 1, h - 2, colour);
}

// A box with a one-pixel frame on its own border pixels, x0..x1 and y0..y1.
void framed_box(QPainter& p, int x0, int y0, int x1, int y1, const QColor& fill, const QColor& edge = BLACK)
{
    p.fillRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, edge);
    p.fillRect(x0 + 1, y0 + 1, x1 - x0 - 1, y1 - y0 - 1, fill);
}

// A bar with a one-pixel black outline, as the lid and the drawer are drawn.
void outlined_bar(QPainter& p, int w, int h)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    framed_box(p, 0, 0, w - 1, h - 1, PANEL_BLUE);
}

void drawer(QPainter& p, int w, int h)
{
    outlined_bar(p, w, h);
    // A recessed handle at the front end of the drawer.
    framed_box(p, w - 30, h / 2 - 3, w - 10, h / 2 + 3, QColor(200, 208, 222), QColor(120, 130, 150));
}

// The lid raised: the same bar, 15 px thick, tilted up to the right just so
// far that the whole of it, ends and outline, stays inside the picture.
void lid_open(QPainter& p, int w, int h)
{
    const double thick = 15.0, span_x = w - 1.0, span_y = h - 1.0;
    double lo = 0.0, hi = 1.0, length = span_x;
    for (int step = 0; step < 40; ++step) {
        const double angle = (lo + hi) / 2;
        length = (span_x - thick * std::sin(angle)) / std::cos(angle);
        (length * std::sin(angle) + thick * std::cos(angle) > span_y ? hi : lo) = angle;
    }
    const double angle = lo;
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF up(-std::sin(angle), -std::cos(angle));
    const QPointF low_left(0.5 + thick * std::sin(angle), h - 0.5);
    QPolygonF bar;
    bar << low_left << low_left + along * length << low_left + along * length + up * thick << low_left + up * thick;
    p.setPen(QPen(BLACK, 1.0));
    p.setBrush(PANEL_BLUE);
    p.drawPolygon(bar);
}

void body(QPainter& p, int w, int h)
{
    outlined_bar(p, w, h);
    // A faint inner panel line gives the body some depth.
    frame(p, 4, 4, w - 8, h - 8, QColor(200, 210, 228));
}

void push_button(QPainter& p, int w, int h, bool pressed)
{
    // Grey bezel, then the red cap, lower and darker while pressed.
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(175, 175, 175));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    const double inset = pressed ? 4.0 : 3.0;
    const QRectF cap(inset, inset + (pressed ? 1 : -0.5), w - 2 * inset, h - 2 * inset);
    QRadialGradient shade(cap.center() - QPointF(3, 3), cap.width() * 0.7);
    shade.setColorAt(0, pressed ? QColor(215, 40, 40) : QColor(255, 110, 110));
    shade.setColorAt(1, pressed ? QColor(140, 0, 0) : QColor(200, 0, 0));
    p.setPen(QPen(QColor(100, 0, 0), 1));
    p.setBrush(shade);
    p.drawEllipse(cap);
}

// Black blades turned by `degrees` around the centre, then the hub over them.
void blades(QPainter& p, QPointF centre, double degrees, int count, const QPainterPath& blade, const QColor& hub,
            double hubRadius)
{
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    p.setPen(Qt::NoPen);
    p.setBrush(BLACK);
    for (int i = 0; i < count; ++i) {
        p.drawPath(blade);
        p.rotate(360.0 / count);
    }
    p.setBrush(hub);
    p.drawEllipse(QPointF(0, 0), hubRadius, hubRadius);
    p.restore();
}

void rotor(QPainter& p, int w, int h, double degrees, const QColor& disc, bool ring)
{
    const QPointF c(w / 2.0, h / 2.0);
    p.setPen(ring ? QPen(RING_GREY, 1.5) : QPen(QColor(170, 180, 200), 1));
    p.setBrush(ring ? LIGHT_GREY : disc);
    p.drawEllipse(c, w / 2.0 - 1.5, h / 2.0 - 1.5);
    QPainterPath blade;
    blade.moveTo(0, 0);
    blade.cubicTo(5, -4, 4, -12, 0, -13.5);
    blade.cubicTo(-4, -12, -5, -4, 0, 0);
    blades(p, c, degrees, 2, blade, QColor(60, 60, 60), 3);
}

void lamp(QPainter& p, int w, int h, const QColor& colour)
{
    const QPointF c(w / 2.0, h / 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(BLACK);
    p.drawEllipse(c, 9.5, 9.5);
    p.setBrush(RING_GREY);
    p.drawEllipse(c, 8, 8);
    p.setBrush(colour);
    p.drawEllipse(c, 6, 6);
    // A small gloss off the centre, so the centre keeps the lamp's own colour.
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(c.x() - 2.5, c.y() - 2.5), 1.6, 1.2);
}

void fan(QPainter& p, int w, int h, double degrees)
{
    const QPointF c(w / 2.0, h / 2.0);
    p.setPen(QPen(QColor(170, 170, 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, w / 2.0 - 1, h / 2.0 - 1);
    QPainterPath blade;
    blade.moveTo(0, 0);
    blade.cubicTo(3, -3, 7, -11, 2, -14.5);
    blade.cubicTo(-3, -14, -4, -6, 0, 0);
    blades(p, c, degrees, 4, blade, QColor(90, 90, 90), 3.2);
}

void pipe(QPainter& p, int w, int h, int phase)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    if (phase >= 0) {
        p.fillRect(1, 1, w - 2, h - 2, WATER_BLUE);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipRect(1, 1, w - 2, h - 2);
        p.setPen(QPen(WHITE, 2.0));
        for (int x = -h + phase * 4; x < w + h; x += 8)
            p.drawLine(QPointF(x, h), QPointF(x + h, 0));
        p.setClipping(false);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    frame(p, 0, 0, w, h, PIPE_RED);
}

void speaker(QPainter& p, int w, int h, bool sounding)
{
    const double cy = h / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(BLACK);
    p.drawRect(QRectF(5, cy - 4, 6, 8));  // the magnet
    QPolygonF cone;
    cone << QPointF(11, cy - 4) << QPointF(21, cy - 11) << QPointF(21, cy + 11) << QPointF(11, cy + 4);
    p.drawPolygon(cone);
    p.setPen(QPen(BLACK, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(18, cy - 8, 8, 16), -60 * 16, 120 * 16);
    if (sounding) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(QPointF(w / 2.0, cy), 3.5, 3.5);
    }
}

void hints(QPainter& p, int w, int h)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, 0, w, h, OLIVE);
    frame(p, 0, 0, w, h, FRAME_GREEN);
    frame(p, 2, 2, w - 4, h - 4, FRAME_GREEN);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(BLACK);
    p.drawText(QRect(10, 6, w - 16, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("1. 전원 → 커버 열고 닫기"));
    p.drawText(QRect(10, 25, w - 16, 18), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("2. 전원 → 수동세척"));
}

void reset_arrow(QPainter& p, int w, int h)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(0, 0, w, h, BUTTON_GREY);
    const QRectF circle(3, 2.5, 10, 10);
    p.setPen(QPen(QColor(0, 0, 200), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(circle, 110 * 16, 280 * 16);  // the arrow curves back on itself
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 200));
    QPolygonF head;
    head << QPointF(4.0, 0.5) << QPointF(9.5, 3.2) << QPointF(4.5, 7.0);
    p.drawPolygon(head);
}

const QColor LID_BLUE(120, 160, 210);
const QColor DRAWER_BLUE(176, 190, 214);
const QColor KEY_RED(210, 0, 0);

// The appliance seen from the front: lid on top, the body with its red power
// key, the drawer at the bottom. Laid out on whole pixels for each size so the
// edges stay sharp.
void icon_32(QPainter& p, int w, int h)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, 0, w, h, WHITE);
    framed_box(p, 5, 10, 26, 29, PANEL_BLUE);        // body
    framed_box(p, 3, 4, 28, 10, LID_BLUE);           // lid
    framed_box(p, 8, 22, 23, 27, DRAWER_BLUE);       // drawer
    p.fillRect(13, 24, 6, 2, QColor(90, 100, 120));  // its handle
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(90, 0, 0), 1));
    p.setBrush(KEY_RED);
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
}

void icon_16(QPainter& p, int w, int h)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, 0, w, h, WHITE);
    framed_box(p, 2, 5, 13, 15, PANEL_BLUE);    // body
    framed_box(p, 1, 1, 14, 5, LID_BLUE);       // lid
    framed_box(p, 4, 11, 11, 14, DRAWER_BLUE);  // drawer
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(KEY_RED);
    p.drawEllipse(QPointF(8, 8), 2.4, 2.4);  // the power key
}

// A panel picture by its identifier, at the size the panel gives it.
CPicture panel_picture(int id, Painter paint)
{
    for (const picture_size& size : PICTURE_SIZES)
        if (size.id == id)
            return {QStringLiteral("picture_%1").arg(id), size.width, size.height, std::move(paint)};
    qFatal("picture %d has no size", id);
}

Painter lamp_of(QColor colour)
{
    return [colour](QPainter& p, int w, int h) { lamp(p, w, h, colour); };
}

std::vector<CPicture> pictures()
{
    const int motor_frames[4] = {PICTURE_MOTOR_FRAME_0, PICTURE_MOTOR_FRAME_1, PICTURE_MOTOR_FRAME_2,
                                 PICTURE_MOTOR_FRAME_3};
    std::vector<CPicture> list = {
        panel_picture(PICTURE_KEY_DOWN, [](QPainter& p, int w, int h) { push_button(p, w, h, true); }),
        panel_picture(PICTURE_KEY_UP, [](QPainter& p, int w, int h) { push_button(p, w, h, false); }),
        panel_picture(PICTURE_MOTOR_STOPPED, [](QPainter& p, int w, int h) { rotor(p, w, h, 0, PANEL_BLUE, true); }),
    };
    for (int frame = 0; frame < 4; ++frame)
        list.push_back(panel_picture(motor_frames[frame], [frame](QPainter& p, int w, int h) {
            rotor(p, w, h, 45.0 * frame, PANEL_BLUE, false);
        }));
    list.push_back(panel_picture(PICTURE_COVER_CLOSED, outlined_bar));
    list.push_back(panel_picture(PICTURE_COVER_OPEN, lid_open));
    list.push_back(panel_picture(PICTURE_BODY, body));
    list.push_back(panel_picture(PICTURE_DRAWER_CLOSED, drawer));
    list.push_back(panel_picture(PICTURE_DRAWER_OPEN, drawer));
    list.push_back(panel_picture(PICTURE_LAMP_BLUE_OFF, lamp_of(QColor(0, 0, 128))));
    list.push_back(panel_picture(PICTURE_LAMP_BLUE_ON, lamp_of(QColor(0, 0, 255))));
    list.push_back(panel_picture(PICTURE_LAMP_GREEN_OFF, lamp_of(QColor(0, 64, 0))));
    list.push_back(panel_picture(PICTURE_LAMP_GREEN_ON, lamp_of(QColor(0, 255, 0))));
    list.push_back(panel_picture(PICTURE_LAMP_RED_OFF, lamp_of(QColor(64, 0, 0))));
    list.push_back(panel_picture(PICTURE_LAMP_RED_ON, lamp_of(QColor(255, 0, 0))));
    list.push_back(panel_picture(PICTURE_FAN_FRAME_0, [](QPainter& p, int w, int h) { fan(p, w, h, 0); }));
    list.push_back(panel_picture(PICTURE_FAN_FRAME_1, [](QPainter& p, int w, int h) { fan(p, w, h, 45); }));
    list.push_back(panel_picture(PICTURE_VALVE_IDLE, [](QPainter& p, int w, int h) { pipe(p, w, h, -1); }));
    list.push_back(panel_picture(PICTURE_VALVE_FRAME_0, [](QPainter& p, int w, int h) { pipe(p, w, h, 0); }));
    list.push_back(panel_picture(PICTURE_VALVE_FRAME_1, [](QPainter& p, int w, int h) { pipe(p, w, h, 1); }));
    list.push_back(panel_picture(PICTURE_BUZZER_SILENT, [](QPainter& p, int w, int h) { speaker(p, w, h, false); }));
    list.push_back(panel_picture(PICTURE_BUZZER_SOUNDING, [](QPainter& p, int w, int h) { speaker(p, w, h, true); }));
    list.push_back(panel_picture(PICTURE_GUIDE, hints));
    // The window's own pictures: the tool-bar button and the application icon.
    list.push_back({"toolbar_128", 16, 15, reset_arrow});
    list.push_back({"icon_128_32", 32, 32, icon_32});
    list.push_back({"icon_128_16", 16, 16, icon_16});
    return list;
}

// All pictures side by side, three times their size, each with its name.
QImage sheet(const std::vector<CPicture>& list)
{
    constexpr int SCALE = 3;
    constexpr int WIDTH = 1100;
    int x = 10, y = 10, rowHeight = 0;
    std::vector<QPoint> places;
    for (const CPicture& picture : list) {
        const int w = picture.width * SCALE, h = picture.height * SCALE + 18;
        if (x + w > WIDTH - 10) {
            x = 10;
            y += rowHeight + 14;
            rowHeight = 0;
        }
        places.push_back(QPoint(x, y));
        x += w + 14;
        rowHeight = std::max(rowHeight, h);
    }
    QImage image(WIDTH, y + rowHeight + 10, QImage::Format_RGB888);
    image.fill(QColor(236, 236, 236));
    QPainter p(&image);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(12);
    p.setFont(font);
    for (size_t i = 0; i < list.size(); ++i) {
        const QImage picture = render(list[i]);
        const QPoint at = places[i];
        p.drawImage(QRect(at.x(), at.y() + 16, picture.width() * SCALE, picture.height() * SCALE), picture);
        p.setPen(QColor(60, 60, 60));
        p.drawText(at + QPoint(0, 12), list[i].name.mid(list[i].name.indexOf('_') + 1));
    }
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures OUTDIR [--sheet SHEET.png]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const std::vector<CPicture> list = pictures();
    for (const CPicture& picture : list)
        for (int scale : {1, 2}) {
            const QString path = out.filePath(picture.name + (scale == 1 ? "" : "@2x") + ".bmp");
            if (!render(picture, scale).save(path, "BMP")) {
                std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    if (argc >= 4 && QString::fromLocal8Bit(argv[2]) == "--sheet")
        sheet(list).save(QString::fromLocal8Bit(argv[3]), "PNG");
    return 0;
}
