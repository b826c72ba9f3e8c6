// The About box: its texts fit where the dialog units put them, the icon, and
// "확인" (also by Enter, as the default button) closing it.

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/qt/about_dialog.h"
#include "qt_app.h"

namespace {

class AboutDialog : public CQtTest {};

TEST_F(AboutDialog, ItsItemsSitInsideTheBoxAndTheirTextsFit)
{
    CAboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Trelvik 정보"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a fixed size";
    const QFontMetrics metrics(dialog.font());
    EXPECT_NEAR(dialog.width(), 235 * metrics.averageCharWidth() / 4.0, 1.0) << "235 dialog units across";
    EXPECT_NEAR(dialog.height(), 55 * metrics.height() / 8.0, 1.0) << "55 dialog units down";

    const QRect box(QPoint(0, 0), dialog.size());
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_TRUE(box.contains(label->geometry())) << label->text().toStdString();
        if (label->pixmap().isNull()) {
            texts << label->text();
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << "not clipped: " << label->text().toStdString();
            EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
            EXPECT_LT(label->geometry().right(), dialog.OkButton()->geometry().left()) << "left of the button";
        } else {
            EXPECT_EQ(label->pixmap().size(), QSize(32, 32)) << "the application's icon";
        }
    }
    EXPECT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Trelvik 버전 1.0")));

    QPushButton* ok = dialog.OkButton();
    EXPECT_EQ(ok->text(), QString::fromUtf8("확인"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(box.contains(ok->geometry()));
}

TEST_F(AboutDialog, OkAndEnterCloseIt)
{
    for (bool byEnter : {false, true}) {
        CAboutDialog dialog;
        QTimer::singleShot(30, &dialog, [&] {
            EXPECT_EQ(QApplication::activeModalWidget(), &dialog) << "it runs modally";
            if (byEnter)
                QTest::keyClick(&dialog, Qt::Key_Return);
            else
                dialog.OkButton()->click();
        });
        QTimer::singleShot(2000, &dialog, &QDialog::reject);  // bounds the wait if nothing closes it
        EXPECT_EQ(dialog.exec(), QDialog::Accepted) << (byEnter ? "Enter" : "확인") << " closes it";
    }
}

}  // namespace
