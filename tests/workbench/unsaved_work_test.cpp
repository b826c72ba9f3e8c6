// Quit, new session and open scenario throw the session away: with unsaved
// work they ask first, through the real dialog, and keep it on "cancel". A
// new session also clears the last replay's log.

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "workbench/widgets/log_dock.h"
#include "workbench/widgets/session_files.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

class UnsavedWork : public CWorkbenchTest {
protected:
    // Runs `command`, answering its question with `button` and cancelling any
    // file dialog after it; returns how many questions were asked.
    int Answered(QAction* command, QMessageBox::StandardButton button)
    {
        int asked = 0;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(asked++ ? QMessageBox::Cancel : button)->click();
            else if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                files->reject();
        });
        answerer.start(5);
        command->trigger();
        return asked;
    }
};

TEST_F(UnsavedWork, EachCommandThatDiscardsTheSessionAsksFirst)
{
    CWorkbenchActions& a = m_window->Actions();
    const struct {
        QAction* command;
        QMessageBox::StandardButton answer;
        bool discarded;  // the session (or the window) is gone
    } cases[] = {
        {a.newSession, QMessageBox::Cancel, false}, {a.openScenario, QMessageBox::Cancel, false},
        {a.quit, QMessageBox::Cancel, false},       {a.newSession, QMessageBox::Discard, true},
        {a.quit, QMessageBox::Discard, true},
    };
    for (const auto& c : cases) {
        m_window->show();
        Step(500);
        Click(CVirtualSimulator::COVER);
        const uint64_t before = Now();
        EXPECT_EQ(Answered(c.command, c.answer), 1) << c.command->text().toStdString();
        EXPECT_EQ(!m_window->isVisible() || Now() < before, c.discarded) << c.command->text().toStdString();
    }
}

TEST_F(UnsavedWork, NothingIsAskedWhenTheWorkIsSavedAndANewSessionClearsTheLog)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("short.scn")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("wait 1500\nexpect state 2\n");
    file.close();
    QString error;
    m_window->Actions().speed[CFrameClock::SPEED_MAX]->trigger();
    ASSERT_TRUE(m_window->OpenScenario(file.fileName(), error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 5000));
    ASSERT_GT(m_window->LogDock().Lines(), 1);

    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(m_window->Files().SaveScenario(dir.filePath(QStringLiteral("saved.scn")), error));
    EXPECT_EQ(Answered(m_window->Actions().newSession, QMessageBox::Cancel), 0) << "saved: nothing to ask";
    EXPECT_LT(Now(), 100u) << "a fresh controller";
    EXPECT_EQ(m_window->LogDock().Lines(), 1) << "the last replay's verdicts are gone";
}

}  // namespace
