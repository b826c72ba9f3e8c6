// Named trace views: the views file read strictly (each bad file refused
// with its line, odd files refused unread), and views saved, listed in
// 보기 › 보기 and shown again through the window's real actions.

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

#include "workbench/model/trace_views_file.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_views_menu.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& text)
{
    QFile file(dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
}

TEST(TraceViewsFile, ReadsWhatItWritesAndRefusesABadLineWithItsNumber)
{
    QTemporaryDir dir;
    const QString good = write(dir, "good.txt",
                               "\xEF\xBB\xBF# views\n\nview 팬 # 점검\nspan 2.5\r\nend follow\nrow state_number\n"
                               "  row   FAN  \nview b\nspan 1e4\nend 21603.5\n");
    CTraceViewsFile file;
    ASSERT_TRUE(file.Read(good)) << file.Error().toStdString();
    ASSERT_EQ(file.Views().size(), 2u);
    const CNamedView& first = file.Views()[0];
    EXPECT_TRUE(first.name == QString::fromUtf8("팬 # 점검") && first.spanMs == 2.5 && first.follow &&
                first.rows == QStringList({QStringLiteral("state_number"), QStringLiteral("FAN")}));
    EXPECT_TRUE(!file.Views()[1].follow && file.Views()[1].endMs == 21603.5 && file.Views()[1].rows.isEmpty());
    file.Put(CNamedView{QStringLiteral("b"), {QStringLiteral("FAN")}, 300, 0, true});
    QString error;
    ASSERT_TRUE(file.Write(good, error)) << error.toStdString();
    CTraceViewsFile again;
    ASSERT_TRUE(again.Read(good)) << again.Error().toStdString();
    EXPECT_EQ(again.Text(), file.Text()) << "written as read, the view of that name replaced";

    const struct {
        const char* text;
        int line;
        const char* reason;
    } bad[] = {
        {"span 100\n", 1, "앞에 \"view 이름\" 줄이 없습니다"},
        {"view\n", 1, "이름이 있어야 합니다"},
        {"zoom 3\n", 1, "보기 파일의 줄이 아닙니다: view, span, end, row"},
        {"view a\nspan 0\nend follow\n", 2, "0보다 큰 ms"},
        {"view a\nspan nan\n", 2, "0보다 큰 ms"},
        {"view a\nspan 10\nend soon\n", 3, "\"follow\"나 ms로 쓴 시간"},
        {"view a\nspan 10\n\n", 1, "\"end MS\"나 \"end follow\" 줄이 없습니다"},
        {"view a\nend follow\nview b\n", 1, "\"span MS\" 줄이 없습니다"},
        {"view a\nspan 1\nend 1\nview a\n", 4, "이름이 \"a\"인 보기가 또 있습니다"},
        {"view a\nspan 1\nspan 2\n", 3, "보기 \"a\"에 span 줄이 두 번"},
        {"view a\nspan 1\nend 1\nrow x\nrow x\n", 5, "행 \"x\"이(가) 두 번"},
        {"view a\nspan 1\nend 1\nrow a b\n", 4, "빈칸 없는 이름 하나"},
        {"view a\nspan 1\nend 1\n\xff\n", 4, "UTF-8 글이 아닙니다 (바이트 0xff)"},
        {"view a\x01\n", 1, "제어 바이트 0x01"},
    };
    for (const auto& b : bad) {
        const QString path = write(dir, "bad.txt", b.text);
        EXPECT_FALSE(file.Read(path)) << b.text;
        const std::string expected = path.toStdString() + ":" + std::to_string(b.line) + ": ";
        EXPECT_EQ(file.Error().toStdString().rfind(expected, 0), 0u) << file.Error().toStdString();
        EXPECT_TRUE(file.Error().contains(QString::fromUtf8(b.reason))) << file.Error().toStdString();
        EXPECT_TRUE(file.Views().empty());
    }

    // Never read: a FIFO without a writer (it would hang), a folder, a huge file.
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QFile huge(dir.filePath(QStringLiteral("huge.txt")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(CTraceViewsFile::MAX_BYTES + 1));
    const std::pair<QString, const char*> unread[] = {{fifo, "일반 파일이 아니어서 보기 파일이 아닙니다"},
                                                      {dir.path(), "폴더이지 보기 파일이 아닙니다"},
                                                      {huge.fileName(), "1 MB보다 커서 보기 파일이 아닙니다"},
                                                      {dir.filePath(QStringLiteral("none")), "파일이 없습니다"}};
    for (const auto& [path, reason] : unread) {
        EXPECT_FALSE(file.Read(path)) << path.toStdString();
        EXPECT_EQ(file.Error(), path + QStringLiteral(": ") + QString::fromUtf8(reason));
    }
    EXPECT_FALSE(file.Write(fifo, error)) << "a FIFO is not written over";
    EXPECT_EQ(error, fifo + QString::fromUtf8(": 일반 파일이 아니어서 쓰지 않았습니다"));
}

class TraceViews : public CWorkbenchTest {};

TEST_F(TraceViews, SavedNamedAndShownAgainThroughTheMenu)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("views.txt"));
    CTraceViewsMenu& views = m_window->TraceViews();
    CWorkbenchActions& actions = m_window->Actions();
    CTraceView& view = m_window->TraceDock().View();
    QString error;
    ASSERT_TRUE(views.OpenViewsFile(path, error)) << "a new file, made by the first save";

    // 보기 저장 through its action, the name typed into its dialog.
    actions.zoomIn->trigger();
    const double near = view.SpanMs();
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            dialog->setTextValue(QString::fromUtf8("가까이"));
            dialog->accept();
        }
    });
    answerer.start(5);
    actions.saveView->trigger();
    answerer.stop();
    actions.zoomOut->trigger();
    actions.zoomOut->trigger();
    ASSERT_NE(view.SpanMs(), near);

    // A view written by hand beside it, naming a row the trace has not got.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\nview 손으로\nspan 5000\nend 1000\nrow state_number\nrow NO_SUCH_ROW\nrow heater_pulses\n");
    file.close();

    m_window.reset();
    m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
    m_window->show();
    EXPECT_EQ(m_window->TraceViews().FilePath(), path) << "the file in use is kept";
    QMenu* menu = m_window->Actions().NamedViewsMenu();
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[1]->text(), QString::fromUtf8("손으로"));
    menu->actions()[0]->trigger();
    EXPECT_DOUBLE_EQ(m_window->TraceDock().View().SpanMs(), near);
    m_window->Driver().Step(3000);  // the clock past the view's right edge
    menu->actions()[1]->trigger();
    EXPECT_TRUE(m_window->statusBar()->currentMessage().contains(QStringLiteral("NO_SUCH_ROW")))
        << m_window->statusBar()->currentMessage().toStdString();
    EXPECT_FALSE(m_window->statusBar()->currentMessage().contains(QStringLiteral("heater_pulses")));
    EXPECT_TRUE(m_window->TraceDock().Chosen().contains(QStringLiteral("heater_pulses")))
        << "a variable the view shows is traced";
    EXPECT_FALSE(m_window->TraceDock().View().Following());

    // A file that does not read is neither taken nor written over.
    const QByteArray broken = "view x\nspan 1\n";
    write(dir, "views.txt", broken);
    EXPECT_FALSE(m_window->TraceViews().SaveView(QStringLiteral("y"), error));
    EXPECT_TRUE(error.startsWith(path + QStringLiteral(":1: "))) << error.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
    EXPECT_FALSE(m_window->TraceViews().OpenViewsFile(dir.path(), error));
    EXPECT_EQ(m_window->TraceViews().FilePath(), path);
}

}  // namespace
