// Every picture the panel names is embedded, of exactly its size, in 24-bit
// colour, and again at twice its size for screens of twice the density.

#include <QFile>
#include <QIcon>
#include <QImage>

#include <vector>

#include "app/qt/picture_loader.h"
#include "dense_image.h"
#include "panel/picture_ids.h"
#include "qt_app.h"

namespace {

class Pictures : public CQtTest {};

// The bit count in the BMP header of an embedded file.
int bmp_bits(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM"))
        return -1;
    return static_cast<uint8_t>(header[28]) | (static_cast<uint8_t>(header[29]) << 8);
}

TEST_F(Pictures, EveryIdentifierLoadsAtItsSizeIn24BitColour)
{
    for (const picture_size& picture : PICTURE_SIZES) {
        const QImage image = load_picture(picture.id);
        ASSERT_FALSE(image.isNull()) << "picture " << picture.id;
        EXPECT_EQ(image.width(), picture.width) << "picture " << picture.id;
        EXPECT_EQ(image.height(), picture.height) << "picture " << picture.id;
        EXPECT_EQ(bmp_bits(picture_path(picture.id)), 24) << "picture " << picture.id;
    }
    EXPECT_TRUE(load_picture(141).isNull()) << "there is no picture 141";

    const struct {
        const char* path;
        int size_w, size_h;
    } others[] = {{":/pictures/toolbar_128.bmp", 16, 15},
                  {":/pictures/icon_128_32.bmp", 32, 32},
                  {":/pictures/icon_128_16.bmp", 16, 16}};
    for (const auto& other : others) {
        const QImage image(QString::fromLatin1(other.path));
        EXPECT_EQ(image.size(), QSize(other.size_w, other.size_h)) << other.path;
        EXPECT_EQ(bmp_bits(QString::fromLatin1(other.path)), 24) << other.path;
    }
}

TEST_F(Pictures, EveryPictureHasAPartnerOfTwiceItsSizeThatShowsTheSame)
{
    struct CPair {
        QImage one, two;
        QString twoPath;
    };
    std::vector<CPair> pairs;
    for (const picture_size& picture : PICTURE_SIZES)
        pairs.push_back({load_picture(picture.id), load_picture(picture.id, 2.0), picture_path(picture.id, 2.0)});
    for (const char* name : {"toolbar_128", "icon_128_32", "icon_128_16"}) {
        const QString two = QStringLiteral(":/pictures/%1@2x.bmp").arg(QLatin1String(name));
        pairs.push_back({QImage(QStringLiteral(":/pictures/%1.bmp").arg(QLatin1String(name))), QImage(two), two});
    }
    for (const CPair& pair : pairs) {
        const std::string name = pair.twoPath.toStdString();
        ASSERT_FALSE(pair.two.isNull()) << name;
        EXPECT_EQ(pair.one.devicePixelRatio(), 1.0) << name;
        EXPECT_EQ(pair.two.devicePixelRatio(), 2.0) << name << " is drawn at its own size in panel pixels";
        ASSERT_EQ(pair.two.size(), pair.one.size() * 2) << name;
        EXPECT_EQ(bmp_bits(pair.twoPath), 24) << name;
        // Text and antialiased edges differ a little; a picture drawn out of
        // place or another picture differs far more.
        EXPECT_LT(mean_difference_halved(pair.one, pair.two), 8.0) << name;
    }
    EXPECT_EQ(load_picture(130, 1.5).devicePixelRatio(), 2.0) << "any ratio above 1 takes the denser picture";
}

// Each icon gives the picture of the asked size and density, drawn for it.
TEST_F(Pictures, TheIconsGiveTheirPictureForEachDensity)
{
    const struct {
        QIcon icon;
        QSize size;
        qreal ratio;
        const char* file;
    } cases[] = {
        {application_icon(), {32, 32}, 1.0, "icon_128_32"}, {application_icon(), {32, 32}, 2.0, "icon_128_32@2x"},
        {application_icon(), {16, 16}, 1.0, "icon_128_16"}, {application_icon(), {16, 16}, 2.0, "icon_128_16@2x"},
        {toolbar_icon(), {16, 15}, 1.0, "toolbar_128"},     {toolbar_icon(), {16, 15}, 2.0, "toolbar_128@2x"}};
    for (const auto& c : cases) {
        const QImage shown = c.icon.pixmap(c.size, c.ratio).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage file(QStringLiteral(":/pictures/%1.bmp").arg(QLatin1String(c.file)));
        EXPECT_EQ(shown, file.convertToFormat(QImage::Format_RGB32)) << c.file;
    }
}

TEST_F(Pictures, EachLampsCentreIsItsOwnColour)
{
    const struct {
        int id;
        QRgb centre;
    } lamps[] = {{143, qRgb(0, 0, 128)}, {144, qRgb(0, 0, 255)}, {145, qRgb(0, 64, 0)},
                 {146, qRgb(0, 255, 0)}, {147, qRgb(64, 0, 0)},  {148, qRgb(255, 0, 0)}};
    for (const auto& lamp : lamps) {
        const QImage image = load_picture(lamp.id);
        EXPECT_EQ(image.pixel(10, 10) & 0xFFFFFF, lamp.centre & 0xFFFFFF) << "lamp " << lamp.id;
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << "lamp " << lamp.id << " stands on white";
    }
}

}  // namespace
