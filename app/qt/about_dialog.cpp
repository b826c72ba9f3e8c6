#include "app/qt/about_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "app/qt/picture_loader.h"

namespace {

// Dialog units: a quarter of the font's average character width across and
// an eighth of its height down.
struct CDialogUnits {
    explicit CDialogUnits(const QFont& font)
    {
        const QFontMetrics metrics(font);
        const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_x = metrics.horizontalAdvance(sample) / 52.0 / 4.0;
        m_y = metrics.height() / 8.0;
    }
    QRect Rect(int x, int y, int w, int h) const
    {
        return QRect(qRound(x * m_x), qRound(y * m_y), qRound(w * m_x), qRound(h * m_y));
    }
    double m_x;
    double m_y;
};

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Trelvik 정보"));
    setModal(true);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPointSize(9);
    setFont(font);
    const CDialogUnits du(font);
    setFixedSize(du.Rect(0, 0, 235, 55).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(application_icon().pixmap(32, 32));
    icon->setGeometry(du.Rect(11, 17, 20, 20).adjusted(0, 0, 12, 12));
    auto* name = new QLabel(QString::fromUtf8("Trelvik 버전 1.0"), this);
    name->setGeometry(du.Rect(40, 10, 119, 8).adjusted(0, 0, 0, 4));
    auto* line = new QLabel(QString::fromUtf8("음식물처리기 제어기 시뮬레이터"), this);
    line->setGeometry(du.Rect(40, 25, 119, 8).adjusted(0, 0, 0, 4));
    m_ok = new QPushButton(QString::fromUtf8("확인"), this);
    m_ok->setGeometry(du.Rect(178, 7, 50, 14));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}
