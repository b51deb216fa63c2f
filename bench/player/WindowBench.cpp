// How the window answers while media plays, and how soon a jump reaches the picture, for each size of
// recording, by either way of drawing, in the window and full screen:
//  - answer: the wait of a call posted to the event loop at random moments (as a screen reader's
//    request arrives), median and worst over the play;
//  - drawn and dropped: paints of the video surface a second, and the frames mpv itself counts as
//    dropped (by its video output and by its decoder) a second;
//  - a11y read: a screen reader's reading of every window of the program (bench/player/read_window.py);
//  - jump: from an exact seek asked for to the picture on the screen showing its frame (read back from
//    the frame number the fixture draws), against the same seeks sent to the mpv command line over its
//    IPC socket, same file, same screen region read the same way.
// Run under tests/support/private-session.sh; needs the mpv command line. Smoke run (Smoke.h): three
// cases, one second of play, two jumps.
#include "CapturedLog.h"
#include "FrameCode.h"
#include "MediaFixtures.h"
#include "MpvPlayer.h"
#include "Platform.h"
#include "Smoke.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <random>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// The screen-reader figure needs Qt's accessibility bridge on from the start, whatever the desktop says.
[[maybe_unused]] const bool kAccessible = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

struct Media {
    const char* name;
    int width, height; // 0: sound only
};
const Media kMedia[] = {{"wma", 0, 0},
                        {"320x240", 320, 240},
                        {"352x240", 352, 240},
                        {"640x480", 640, 480},
                        {"1280x720", 1280, 720}};
// Each far from where the one before left the picture; the smoke run's media is 8 s long.
std::vector<double> jumps() {
    return benchSmoke() ? std::vector<double>{5, 2} : std::vector<double>{4, 12, 7, 15, 3, 10, 18, 6};
}

QByteArray mediaFile(int index) {
    static MediaFixtures made;
    static std::map<int, QByteArray> files;
    const double seconds = benchSmoke() ? 8 : 25;
    const Media& media = kMedia[index];
    if (!files.count(index))
        files[index] = media.width
                           ? made.makeWmv(QByteArray("Room3_12-14-2009_34200_3-") + media.name + ".wmv",
                                          seconds, media.width, media.height)
                           : made.makeWma("Room3_12-14-2009_34200_1.wma", 2, seconds);
    return files[index];
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void runFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

double worst(const std::vector<double>& values) {
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

// Calls posted to the GUI thread from a thread of its own every 2 to 12 ms; each notes its wait.
class AnswerProbe {
  public:
    AnswerProbe()
        : m_thread([this] {
              std::mt19937 random(42);
              std::uniform_int_distribution<int> pause(2000, 12000);
              while (!m_stop) {
                  const auto posted = std::chrono::steady_clock::now();
                  QMetaObject::invokeMethod(
                      qApp, [this, posted] { waits.push_back(msSince(posted)); }, Qt::QueuedConnection);
                  std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
              }
          }) {}
    ~AnswerProbe() { stop(); }
    void stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        QCoreApplication::processEvents();
    }
    std::vector<double> waits;

  private:
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

// Paint events of one widget.
class PaintCount : public QObject {
  public:
    explicit PaintCount(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

// Where a picture lies on the screen and which frame it shows there.
struct ScreenPicture {
    QRect picture; // in screen pixels
    static std::optional<ScreenPicture> find(const QRect& area) {
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                .toImage();
        const auto box = FrameCode::pictureIn(shot);
        if (!box)
            return std::nullopt;
        return ScreenPicture{box->translated(area.topLeft())};
    }
    std::optional<int> frame() const {
        const QRect band(picture.x(), picture.y(), picture.width(), picture.height() / 8 + 1);
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, band.x(), band.y(), band.width(), band.height())
                                .toImage();
        return FrameCode::readAt(shot, QRect(0, 0, picture.width(), picture.height()));
    }
    // Milliseconds from now until the picture shows `seconds`, the event loop running meanwhile.
    double waitFor(double seconds, std::chrono::steady_clock::time_point asked) const {
        while (msSince(asked) < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            const std::optional<int> shown = frame();
            if (shown && FrameCode::seconds(*shown) > seconds - 0.05 &&
                FrameCode::seconds(*shown) < seconds + 0.2)
                return msSince(asked);
        }
        return 3000;
    }
};

// The mpv command line on the same file, the same seeks sent to its IPC socket.
// Its drawing as near the component's as it has: OpenGL (allowed on a software rasteriser) or XShm images.
std::vector<double> mpvJumps(const QByteArray& file, bool gl, bool full, const QSize& area) {
    QTemporaryDir folder;
    const QString socketPath = folder.filePath(QStringLiteral("ipc"));
    QProcess mpv;
    QStringList arguments{QStringLiteral("--no-config"),
                          QStringLiteral("--ao=null"),
                          QStringLiteral("--osc=no"),
                          QStringLiteral("--osd-level=0"),
                          QStringLiteral("--hr-seek=yes"),
                          gl ? QStringLiteral("--vo=gpu") : QStringLiteral("--vo=x11"),
                          QStringLiteral("--gpu-sw=yes"),
                          QStringLiteral("--keep-open=yes"),
                          QStringLiteral("--input-ipc-server=") + socketPath,
                          QStringLiteral("--geometry=%1x%2+0+0").arg(area.width()).arg(area.height())};
    if (full)
        arguments << QStringLiteral("--fs");
    mpv.start(QStringLiteral("mpv"), arguments << QFile::decodeName(file));
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path);
    bool connected = false;
    for (int i = 0; i < 100 && !connected; ++i) {
        connected = ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (!connected)
            runFor(100);
    }
    std::vector<double> times;
    runFor(1500);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto picture = ScreenPicture::find(full ? screen : QRect(QPoint(0, 0), area));
    for (const double target : jumps()) {
        if (!connected || !picture)
            break;
        const QByteArray seek =
            QStringLiteral("{\"command\":[\"seek\",%1,\"absolute+exact\"]}\n").arg(target).toUtf8();
        const auto asked = std::chrono::steady_clock::now();
        if (::write(sock, seek.constData(), static_cast<size_t>(seek.size())) != seek.size())
            break;
        times.push_back(picture->waitFor(target, asked));
        runFor(500);
    }
    const QByteArray quit("{\"command\":[\"quit\"]}\n");
    if (connected && ::write(sock, quit.constData(), static_cast<size_t>(quit.size())) < 0)
        mpv.kill();
    ::close(sock);
    if (!mpv.waitForFinished(5000))
        mpv.kill();
    mpv.waitForFinished(2000);
    return times;
}

// A screen reader reading the whole window: seconds, and the nodes read.
std::pair<double, int> accessibleRead() {
    QProcess reader;
    QEventLoop loop;
    QObject::connect(&reader, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(QUILLON_BENCH_DIR "/read_window.py"),
                                                      QString::number(QCoreApplication::applicationPid())});
    loop.exec();
    const QList<QByteArray> said = reader.readAllStandardOutput().trimmed().split(' ');
    if (reader.state() != QProcess::NotRunning || reader.exitCode() != 0 || said.size() != 2) {
        reader.kill();
        reader.waitForFinished(2000);
        return {-1, 0};
    }
    return {said[0].toDouble(), said[1].toInt()};
}

void BM_Window(benchmark::State& state) {
    const int index = static_cast<int>(state.range(0));
    const bool gl = state.range(1) != 0, full = state.range(2) != 0;
    const bool video = kMedia[index].width > 0;
    const QByteArray file = mediaFile(index);
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    const int playMs = benchSmoke() ? 1000 : 10000;
    for (auto _ : state) {
        CapturedLog log; // outlives the window and the player in it
        QWidget window;
        window.move(0, 0);
        window.resize(339, 317);
        auto* player = new MpvPlayer(log, &window, gl ? VideoDrawing::OpenGL : VideoDrawing::Software);
        player->resize(339, 317);
        window.show();
        pumpEventsUntil([&] { return window.isVisible(); }, 2000);
        QWidget* videoArea = player->findChild<QWidget*>(QStringLiteral("MPlayerVideo"));
        std::vector<double> mpvTimes;
        if (video) { // first, while nothing of the component is on the screen
            window.hide();
            mpvTimes = mpvJumps(file, gl, full, videoArea->size());
            window.show();
        }
        QWidget* surface = videoArea->findChild<QWidget*>(); // the picture's own widget, where there is one
        PaintCount paints(surface ? surface : videoArea);
        player->setURL(file);
        if (!pumpEventsUntil([&] { return player->currentPosition() > 0.5; }, 10000)) {
            state.SkipWithError("the media did not play");
            return;
        }
        if (full)
            player->setFullScreen(true);
        runFor(800);
        const auto at = [&] {
            return player->isFullScreenVideo() ? videoArea->geometry()
                                               : QRect(videoArea->mapToGlobal(QPoint()), videoArea->size());
        };
        const auto picture = video ? ScreenPicture::find(at()) : std::nullopt;
        if (video && (!picture || !picture->frame())) {
            state.SkipWithError("the picture does not read");
            return;
        }

        const double voDrops = player->engineValue("frame-drop-count");
        const double decoderDrops = player->engineValue("decoder-frame-drop-count");
        const int painted = paints.count;
        AnswerProbe answers;
        runFor(playMs);
        answers.stop();
        const double seconds = playMs / 1000.0;
        state.counters["drawn_per_s"] = (paints.count - painted) / seconds;
        state.counters["vo_dropped_per_s"] = (player->engineValue("frame-drop-count") - voDrops) / seconds;
        state.counters["dec_dropped_per_s"] =
            (player->engineValue("decoder-frame-drop-count") - decoderDrops) / seconds;
        state.counters["answer_med_ms"] = median(answers.waits);
        state.counters["answer_worst_ms"] = worst(answers.waits);

        const auto [readSeconds, nodes] = accessibleRead();
        state.counters["a11y_read_s"] = readSeconds;
        state.counters["a11y_nodes"] = nodes;

        std::vector<double> times;
        for (const double target : picture ? jumps() : std::vector<double>()) {
            const auto asked = std::chrono::steady_clock::now();
            player->setCurrentPosition(target);
            times.push_back(picture->waitFor(target, asked));
            runFor(500);
        }
        state.counters["jump_med_ms"] = median(times);
        state.counters["jump_worst_ms"] = worst(times);
        state.counters["mpv_jump_med_ms"] = median(mpvTimes);
        state.counters["mpv_jump_worst_ms"] = worst(mpvTimes);
        player->setURL(QByteArray());
    }
}

void cases(benchmark::internal::Benchmark* bench) {
    if (benchSmoke()) {
        bench->Args({0, 0, 0})->Args({3, 0, 0})->Args({3, 1, 1});
        return;
    }
    // software drawing first: once GL is loaded the process keeps it
    for (const int gl : {0, 1})
        for (int media = 0; media < int(std::size(kMedia)); ++media)
            for (const int full : {0, 1})
                if (kMedia[media].width || !full)
                    bench->Args({media, gl, full});
}
BENCHMARK(BM_Window)
    ->ArgNames({"media", "gl", "full"})
    ->Apply(cases)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
