// Quit, new session and open scenario throw the session away: with unsaved
// work they ask first, through the real dialog, and do nothing on "cancel".
// A new session also clears the last replay's log.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "workbench/log_dock.h"
#include "workbench/session_files.h"
#include "workbench/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

class UnsavedWork : public CWorkbenchTest {
protected:
    // Answers the modal dialogs to come, in order: a question with its
    // button, any file dialog by cancelling it. Returns the questions seen.
    void Answer(std::vector<QMessageBox::StandardButton> buttons)
    {
        m_buttons = std::move(buttons);
        m_asked = 0;
        m_answerer.setInterval(5);
        QObject::connect(&m_answerer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (QMessageBox* box = qobject_cast<QMessageBox*>(modal)) {
                const QMessageBox::StandardButton button = m_asked < m_buttons.size() ? m_buttons[m_asked] : QMessageBox::Cancel;
                ++m_asked;
                box->button(button)->click();
            } else if (QFileDialog* files = qobject_cast<QFileDialog*>(modal)) {
                files->reject();
            }
        });
        m_answerer.start();
    }
    void TearDown() override
    {
        m_answerer.stop();
        CWorkbenchTest::TearDown();
    }

    QTimer m_answerer;
    std::vector<QMessageBox::StandardButton> m_buttons;
    size_t m_asked = 0;
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
        Answer({c.answer});
        c.command->trigger();
        m_answerer.stop();
        EXPECT_EQ(m_asked, 1u) << c.command->text().toStdString();
        const bool gone = !m_window->isVisible() || Now() < before;
        EXPECT_EQ(gone, c.discarded) << c.command->text().toStdString();
    }
}

TEST_F(UnsavedWork, NothingIsAskedWhenTheWorkIsSavedAndANewSessionClearsTheLog)
{
    QTemporaryDir dir;
    const QString scenario = dir.filePath(QStringLiteral("short.scn"));
    QFile file(scenario);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("wait 1500\nexpect state 2\n");
    file.close();
    QString error;
    m_window->Actions().speed[CFrameClock::SPEED_MAX]->trigger();
    ASSERT_TRUE(m_window->OpenScenario(scenario, error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 5000));
    ASSERT_GT(m_window->LogDock().Lines(), 1);

    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(m_window->Files().SaveScenario(dir.filePath(QStringLiteral("saved.scn")), error));
    Answer({});
    m_window->Actions().newSession->trigger();
    EXPECT_EQ(m_asked, 0u) << "saved: nothing to ask";
    EXPECT_LT(Now(), 100u) << "a fresh controller";
    EXPECT_EQ(m_window->LogDock().Lines(), 1) << "the last replay's verdicts are gone";
}

}  // namespace
