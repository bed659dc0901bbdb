// The real Uplift against a local HTTP server, talking to the main window's endpoint.
#include <gtest/gtest.h>

#include <signal.h>

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QUrl>
#include <set>

#include "core/base/byte_io.h"
#include "core/shell/program_data.h"
#include "gui/shell/about_box.h"
#include "gui/shell/main_window.h"
#include "gui/shell/updater_endpoint.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/local_http_server.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {
namespace fs = std::filesystem;

QByteArray package(const std::vector<std::pair<std::string, std::string>>& files) {
    ByteWriter w;
    w.u8(static_cast<std::uint8_t>(files.size()));
    for (const auto& f : files) {
        w.i32(static_cast<std::int32_t>(f.second.size()));
    }
    for (const auto& f : files) {
        std::string name = f.first;
        name.resize(20, '\0');
        w.bytes(name);
    }
    for (const auto& f : files) {
        w.bytes(f.second);
    }
    return QByteArray::fromStdString(w.take());
}

class UpdaterTest : public ::testing::Test {
  protected:
    UpdaterTest() : window(test::openSampleWindow(dir.path(), prompter, 1)) {
        test::writeFile(dir.path() / "ZUdavu.dat", buildProgramData({17, {"旧消息"}}));
        EXPECT_TRUE(window->loadProgramData());
        fs::copy_file(TALLYFRAME_UPLIFT, dir.path() / "Up.dll");
        QObject::connect(&window->updaterEndpoint(), &UpdaterEndpoint::answered,
                         [this](int code, int reply) {
                             if (code != 2) {  // repaints come whenever the window moves
                                 answers.emplace_back(code, reply);
                             }
                         });
        settings(kLimitNoMachineReaches);
    }
    // The updater's limit on each request, in seconds: long enough that only a server that
    // never answers reaches it, however loaded the machine.
    static constexpr int kLimitNoMachineReaches = 600;
    void settings(int seconds) {
        test::writeFile(dir.path() / "Brix.ini", "[Update]\r\nUrl=" + server.base().toStdString() +
                                                     "\r\nTimeLimit=" + std::to_string(seconds) +
                                                     "\r\nUnattended=1\r\n");
    }
    // The start-up check, as the main program starts it; true when Uplift ended by itself.
    bool runSilentCheck() {
        const auto pid = startSilentUpdateCheck(window->programDirectory(),
                                                window->updaterEndpoint().number(), 17);
        EXPECT_TRUE(pid);
        // Started detached: gone once no signal can reach it.
        return pid && test::waitUntil([&] { return ::kill(static_cast<pid_t>(*pid), 0) != 0; });
    }
    std::set<std::string> files() {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) {
            names.insert(e.path().filename().string());
        }
        return names;
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    test::LocalHttpServer server;
    std::unique_ptr<MainWindow> window;
    std::vector<std::pair<int, int>> answers;
};

TEST_F(UpdaterTest, ANewerPackageIsInstalledAndTheMainProgramReloads) {
    qputenv("ASAN_OPTIONS", "detect_leaks=0");
    server.answer("/Updata/UpIni.txt", {200, "18\r\n", "Set-Cookie: session=abc\r\n", false});
    server.answer(
        "/Updata/tay.dat",
        {200,
         package({{"ZUdavu.dat", buildProgramData({18, {"新消息"}})}, {"readme.txt", "new files"}}),
         {},
         false});
    ASSERT_TRUE(runSilentCheck());
    EXPECT_EQ(answers, (std::vector<std::pair<int, int>>{{4, 54}, {3, 53}}));
    EXPECT_EQ(window->dataNumber(), 18) << "the new data file was read";
    EXPECT_EQ(test::readFile(dir.path() / "readme.txt"), "new files");

    ASSERT_EQ(server.requests().size(), 2);
    const auto& first = server.requests()[0];
    EXPECT_EQ(first.path, "/Updata/UpIni.txt");
    const auto at = [&](const QByteArray& header) {
        for (qsizetype i = 0; i < first.headers.size(); ++i) {
            if (first.headers[i].startsWith(header)) {
                return i;
            }
        }
        return qsizetype{-1};
    };
    const qsizetype agent = at("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    const qsizetype accept =
        at("Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
           "application/x-shockwave-flash, application/vnd.ms-excel, "
           "application/vnd.ms-powerpoint, application/msword, */*");
    const qsizetype referer = at("Referer: " + server.base().toUtf8() + "Updata/UpIni.txt");
    const qsizetype language = at("Accept-Language: zh-cn");
    EXPECT_TRUE(agent >= 0 && agent < accept && accept < referer && referer < language)
        << agent << " " << accept << " " << referer << " " << language;
    EXPECT_TRUE(server.requests()[1].headers.contains("Cookie: session=abc"))
        << "the cookie kept for the host";
}

TEST_F(UpdaterTest, NothingNewAnErrorPageOrAHostilePackageWritesNothing) {
    qputenv("ASAN_OPTIONS", "detect_leaks=0");
    const auto before = files();
    struct Case {
        const char* what;
        QByteArray version;
        test::LocalHttpServer::Answer package;
    };
    QByteArray negative = package({{"a.dll", "12345"}});
    negative[1 + 3] = '\xFF';
    const QByteArray whole = package({{"a.dll", "12345"}, {"b.dll", "1234567"}});
    const std::vector<Case> cases = {
        {"not newer", "17", {}},
        {"an error page", "17.5", {404, "<html>not here</html>", {}, false}},
        {"a name out of the folder", "18", {200, package({{"../evil", "x"}}), {}, false}},
        {"a negative size", "18", {200, negative, {}, false}},
        {"a truncated package", "18", {200, whole.left(whole.size() - 3), {}, false}},
        {"a data file that would not load",
         "18",
         {200, package({{"ZUdavu.dat", "not a data file"}}), {}, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        answers.clear();
        server.answer("/Updata/UpIni.txt", {200, c.version, {}, false});
        server.answer("/Updata/tay.dat", c.package);
        ASSERT_TRUE(runSilentCheck());
        EXPECT_TRUE(answers.empty()) << "the data file is never let go";
        auto now = files();
        now.erase("Uplift.exe");
        EXPECT_EQ(now, before);
        EXPECT_FALSE(fs::exists(dir.path().parent_path() / "evil"));
        EXPECT_EQ(window->dataNumber(), 17);
    }
}

TEST_F(UpdaterTest, APackageThatCannotGoInWholeLeavesTheOldProgramRunning) {
    qputenv("ASAN_OPTIONS", "detect_leaks=0");
    // The second file's place is taken by a folder: the new data file must not go in alone.
    fs::create_directory(dir.path() / "readme.txt");
    const std::string oldData = test::readFile(dir.path() / "ZUdavu.dat");
    server.answer("/Updata/UpIni.txt", {200, "18\r\n", {}, false});
    server.answer(
        "/Updata/tay.dat",
        {200,
         package({{"ZUdavu.dat", buildProgramData({18, {"新消息"}})}, {"readme.txt", "new files"}}),
         {},
         false});
    ASSERT_TRUE(runSilentCheck());
    EXPECT_EQ(test::readFile(dir.path() / "ZUdavu.dat"), oldData);
    EXPECT_TRUE(fs::is_directory(dir.path() / "readme.txt"));
    EXPECT_EQ(answers, (std::vector<std::pair<int, int>>{{4, 54}, {3, 53}}))
        << "the data file let go and read again";
    EXPECT_EQ(window->dataNumber(), 17) << "the old data file, read again, still loads";
}

TEST_F(UpdaterTest, AServerThatNeverAnswersEndsAfterTheLimit) {
    qputenv("ASAN_OPTIONS", "detect_leaks=0");
    settings(1);
    server.answer("/Updata/UpIni.txt", {200, {}, {}, true});
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(runSilentCheck());
    EXPECT_GE(took.elapsed(), 1000) << "it waited for the limit";
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(answers.empty());
}

}  // namespace
}  // namespace tf::gui

namespace tf::gui {
namespace {

// Records the addresses the program asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(HelpMenu, TheManualAndTheAboutBox) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 1);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    QDesktopServices::setUrlHandler("https", &recorder, "open");

    window->dispatch(Command::HelpTopics);
    EXPECT_TRUE(recorder.opened.isEmpty()) << "no manual installed: nothing, and no message";
    fs::create_directories(dir.path() / "help");
    test::writeFile(dir.path() / "help/index.html", "<html></html>");
    window->dispatch(Command::HelpTopics);
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0].toLocalFile().toStdString(),
              (dir.path() / "help/index.html").string());

    QString product;
    test::whenReady([&] { return window->findChild<AboutBox*>() != nullptr; },
                    [&] {
                        auto* box = window->findChild<AboutBox*>();
                        product = box->findChild<QLabel*>("产品名称")->text();
                        EXPECT_TRUE(box->findChild<QLabel*>("版本")->text().startsWith("版本 "));
                        QWidget* maker = box->findChild<QLabel*>("网站");
                        QTest::mouseClick(box, Qt::LeftButton, {}, maker->geometry().center());
                    });
    window->dispatch(Command::About);  // returns when a click has closed it
    EXPECT_EQ(product, "Brix Tallyframe2009");
    ASSERT_EQ(recorder.opened.size(), 2);
    EXPECT_EQ(recorder.opened[1].toString(), "https://tallyframe.example");
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
}

}  // namespace
}  // namespace tf::gui

#include "updater_test.moc"
