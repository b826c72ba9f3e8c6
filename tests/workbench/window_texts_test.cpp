// The window's words: Qt's own buttons in Korean once its translations are
// installed, and every command's prompt saying more than its name.

#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>

#include "workbench/qt_translations.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

class WindowTexts : public CWorkbenchTest {};

TEST_F(WindowTexts, QtsOwnButtonsAreKoreanAndEveryPromptSaysMoreThanTheName)
{
    ASSERT_TRUE(install_qt_translations(qt_app())) << "Qt's Korean translations are installed (qt6-translations-l10n)";
    const struct {
        QDialogButtonBox::StandardButton button;
        const char* text;
    } buttons[] = {{QDialogButtonBox::Cancel, "취소"}, {QDialogButtonBox::Open, "열기"}};
    for (const auto& b : buttons) {
        QDialogButtonBox box(b.button);
        EXPECT_EQ(box.button(b.button)->text().remove(QLatin1Char('&')), QString::fromUtf8(b.text));
    }

    for (const QAction* action : m_window->Actions().findChildren<QAction*>()) {
        const QString name = QString(action->text()).remove(QLatin1Char('&')).remove(QStringLiteral("..."));
        EXPECT_FALSE(action->statusTip().isEmpty()) << name.toStdString();
        EXPECT_NE(action->statusTip(), name) << name.toStdString() << ": the prompt only repeats the name";
    }
}

}  // namespace
