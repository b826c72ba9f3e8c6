// Every picture the panel names is embedded, of exactly its size, in 24-bit
// colour, and again at twice its size for screens of twice the density.

#include <QFile>
#include <QIcon>
#include <QImage>

#include <tuple>
#include <vector>

#include "app/qt/picture_loader.h"
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

// Each picture has a partner drawn at twice its width and height for screens
// of twice the density, loaded with a device pixel ratio of 2; so have the icons.
TEST_F(Pictures, EveryPictureHasAPartnerOfTwiceItsSizeForDenseScreens)
{
    std::vector<std::tuple<QImage, QImage, QString>> pairs;  // at its own size, the partner, its file
    for (const picture_size& picture : PICTURE_SIZES)
        pairs.emplace_back(load_picture(picture.id), load_picture(picture.id, 2.0), picture_path(picture.id, 2.0));
    for (const QString name : {"toolbar_128", "icon_128_32", "icon_128_16"}) {
        const QString two = QStringLiteral(":/pictures/%1@2x.bmp").arg(name);
        pairs.emplace_back(QImage(QStringLiteral(":/pictures/%1.bmp").arg(name)), QImage(two), two);
    }
    for (const auto& [one, two, twoPath] : pairs) {
        EXPECT_EQ(two.size(), one.size() * 2) << twoPath.toStdString();
        EXPECT_EQ(two.devicePixelRatio(), 2.0) << twoPath.toStdString();
        EXPECT_EQ(bmp_bits(twoPath), 24) << twoPath.toStdString();
    }
    EXPECT_EQ(load_picture(PICTURE_GUIDE, 1.5).devicePixelRatio(), 2.0) << "any ratio above 1";
    EXPECT_EQ(application_icon().pixmap(QSize(32, 32), 1.0).size(), QSize(32, 32));
    EXPECT_EQ(application_icon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
    EXPECT_EQ(toolbar_icon().pixmap(QSize(16, 15), 2.0).size(), QSize(32, 30));
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
