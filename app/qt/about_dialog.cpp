#include "app/qt/about_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "app/qt/picture_loader.h"
#include "trelvik_version.h"

namespace {

constexpr int ICON_SIZE = 32;

// Dialog units of the box's font: a quarter of its average character width
// across, an eighth of its height down.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font)
    {
        const QFontMetrics metrics(font);
        m_x = metrics.averageCharWidth() / 4.0;
        m_y = metrics.height() / 8.0;
    }
    QRect Rect(int x, int y, int w, int h) const
    {
        return QRect(qRound(x * m_x), qRound(y * m_y), qRound(w * m_x), qRound(h * m_y));
    }

private:
    double m_x;
    double m_y;
};

// The box's 9-point Korean font; NanumGothic stands in for the system's own.
QFont dialog_font()
{
    QFont font(QStringLiteral("NanumGothic"));
    font.setPointSize(9);
    return font;
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Trelvik 정보"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(dialog_font());
    const CDialogUnits du(font());
    setFixedSize(du.Rect(0, 0, 235, 55).size());

    // The icon sits at its place at its own size, as a dialog's icon does.
    auto* icon = new QLabel(this);
    icon->setPixmap(application_icon().pixmap(ICON_SIZE, ICON_SIZE));
    icon->setGeometry(QRect(du.Rect(11, 17, 20, 20).topLeft(), QSize(ICON_SIZE, ICON_SIZE)));
    auto* name = new QLabel(QString::fromUtf8("Trelvik 버전 " TRELVIK_VERSION_SHORT), this);
    name->setGeometry(du.Rect(40, 10, 119, 8));
    auto* line = new QLabel(QString::fromUtf8("음식물처리기 제어기 시뮬레이터"), this);
    line->setGeometry(du.Rect(40, 25, 119, 8));
    m_ok = new QPushButton(QString::fromUtf8("확인"), this);
    m_ok->setGeometry(du.Rect(178, 7, 50, 14));
    m_ok->setDefault(true);
    m_ok->setFocus();
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}
