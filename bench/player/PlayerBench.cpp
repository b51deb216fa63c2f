// The media component on real files: time to play against the mpv command line, the program's memory
// and CPU while a video plays, CPU while sound plays in a visible window. Needs a display (run it
// under tests/support/private-session.sh), the built quillon and the mpv command line for the comparison.
#include "CapturedLog.h"
#include "MediaFixtures.h"
#include "MpvPlayer.h"
#include "Platform.h"
#include "Smoke.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <clocale>
#include <sys/resource.h>
#include <unistd.h>

namespace {

MediaFixtures& fixtures() {
    static MediaFixtures made;
    return made;
}

QByteArray wma() {
    static const QByteArray file =
        fixtures().makeWma("Room3_12-14-2009_34200_1.wma", 2, benchSmoke() ? 5 : 60);
    return file;
}

QByteArray wmv() {
    static const QByteArray file =
        fixtures().makeWmv("Room3_12-14-2009_34200_3.wmv", benchSmoke() ? 5 : 30, 640, 480);
    return file;
}

// The milliseconds a figure is taken over: `seconds`, or a quarter of a second in a smoke run.
int figureMs(int seconds) {
    return benchSmoke() ? 250 : seconds * 1000;
}

// The window the component sits in, as the player window places it.
struct Shown {
    CapturedLog log; // outlives the window and the player in it
    QWidget window;
    MpvPlayer* player;
    explicit Shown(VideoDrawing drawing = chooseVideoDrawing())
        : player(new MpvPlayer(log, &window, drawing)) {
        window.resize(339, 317);
        player->resize(339, 317);
        window.show();
        pumpEventsUntil([this] { return window.isVisible(); }, 2000);
    }
};

// Lets the program run as it would while playing: the plain event loop, nothing polling.
void runFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double ms(const QElapsedTimer& clock) {
    return clock.nsecsElapsed() / 1e6;
}

// The mpv command line from its start to its first sound on the same file.
double mpvCliFirstAudioMs(const QByteArray& file) {
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    mpv.start(QStringLiteral("mpv"), {QStringLiteral("--no-config"), QStringLiteral("--ao=null"),
                                      QStringLiteral("--msg-level=cplayer=v"), QFile::decodeName(file)});
    QByteArray seen;
    double firstAudio = -1;
    while (firstAudio < 0 && mpv.waitForReadyRead(5000)) {
        seen += mpv.readAll();
        if (seen.contains("starting audio playback"))
            firstAudio = ms(clock);
    }
    mpv.kill();
    mpv.waitForFinished(2000);
    return firstAudio;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A new component (each hand-off loads a new player window) to playState 3, and to the position
// first moving (the first sound), on a local WMA; beside the mpv command line's start to first sound
// measured in the same iteration.
void BM_OpenWmaVsMpvCli(benchmark::State& state) {
    const QByteArray file = wma();
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    double playing = 0, firstAudio = 0, cli = 0;
    for (auto _ : state) {
        QWidget window; // hidden until the media is open, as in the hand-off
        QElapsedTimer clock;
        clock.start();
        CapturedLog log;
        MpvPlayer player(log, &window);
        player.setURL(file);
        const bool ok =
            pumpEventsUntil([&] { return player.playState() == MediaPlayer::PlayPlaying; }, 15000);
        playing = ms(clock);
        pumpEventsUntil([&] { return player.currentPosition() > 0; }, 15000);
        firstAudio = ms(clock);
        state.SetIterationTime(playing / 1000);
        player.setURL(QByteArray());
        cli = mpvCliFirstAudioMs(file);
        if (!ok || cli < 0) {
            state.SkipWithError(ok ? "the mpv command line did not start playing"
                                   : "the component did not play");
            break;
        }
    }
    state.counters["component_ms"] = playing;
    state.counters["component_first_audio_ms"] = firstAudio;
    state.counters["mpv_cli_ms"] = cli;
    state.counters["ratio"] = playing / cli;
}
BENCHMARK(BM_OpenWmaVsMpvCli)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(benchSmoke() ? 1 : 9)
    ->Unit(benchmark::kMillisecond);

long procKb(qint64 pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    return -1;
}

double procCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toLong() + fields.value(12).toLong()) / double(sysconf(_SC_CLK_TCK));
}

// The program itself on a disc that holds one 640x480 WMV, so it opens straight into the player:
// resident memory once it plays, and its CPU over the following seconds.
void BM_ProgramPlayingWmv(benchmark::State& state) {
    const QByteArray file = wmv();
    QTemporaryDir disc;
    const QString exe = disc.path() + QStringLiteral("/quillon");
    if (file.isEmpty() || !QFile::copy(QStringLiteral(QUILLON_EXE), exe) ||
        !QFile::copy(QFile::decodeName(file),
                     disc.path() + QStringLiteral("/Room3_12-14-2009_34200_3.wmv"))) {
        state.SkipWithError("could not make the disc");
        return;
    }
    long rss = 0, anon = 0;
    double cpu = 0;
    for (auto _ : state) {
        QProcess program;
        program.start(exe, {});
        program.waitForFinished(figureMs(3));
        const double before = procCpuSeconds(program.processId());
        program.waitForFinished(figureMs(4));
        cpu = 100.0 * (procCpuSeconds(program.processId()) - before) / (figureMs(4) / 1000.0);
        rss = procKb(program.processId(), "VmRSS:");
        anon = procKb(program.processId(), "RssAnon:");
        program.kill();
        program.waitForFinished(2000);
        if (rss < 0 || before < 0) {
            state.SkipWithError("the program did not keep running");
            return;
        }
    }
    state.counters["rss_MB"] = rss / 1024.0;
    state.counters["anon_MB"] = anon / 1024.0;
    state.counters["cpu_percent"] = cpu;
}
BENCHMARK(BM_ProgramPlayingWmv)
    ->Iterations(1)
    ->Repetitions(benchSmoke() ? 1 : 3)
    ->Unit(benchmark::kMillisecond);

// CPU of the component, in per cent of one core, over four seconds of the file playing in its
// window (or full screen); -1 when full screen did not take.
double cpuPercentPlaying(const QByteArray& file, VideoDrawing drawing, bool fullScreen) {
    Shown shown(drawing);
    shown.player->setURL(file);
    pumpEventsUntil([&] { return shown.player->currentPosition() > 0.5; }, 5000);
    if (fullScreen) {
        shown.player->setFullScreen(true);
        runFor(500);
    }
    const double before = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    runFor(figureMs(4));
    const double percent = 100.0 * (cpuSeconds() - before) / (clock.nsecsElapsed() / 1e9);
    const bool asAsked = shown.player->isFullScreenVideo() == fullScreen;
    shown.player->setURL(QByteArray());
    return asAsked ? percent : -1;
}

// A 640x480 WMV by way of drawing, in its window and full screen. Software drawing runs first: once
// GL is loaded the process keeps it.
void BM_WmvCpu(benchmark::State& state) {
    const QByteArray file = wmv();
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    double percent = 0;
    for (auto _ : state)
        percent = cpuPercentPlaying(file, state.range(0) ? VideoDrawing::OpenGL : VideoDrawing::Software,
                                    state.range(1) != 0);
    if (percent < 0)
        state.SkipWithError("full screen did not take");
    state.counters["cpu_percent"] = percent;
}
BENCHMARK(BM_WmvCpu)
    ->ArgNames({"gl", "full"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(1)
    ->Repetitions(benchSmoke() ? 1 : 3)
    ->Unit(benchmark::kMillisecond);

// A WMA with the window visible.
void BM_AudioCpu(benchmark::State& state) {
    const QByteArray file = wma();
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    double percent = 0;
    for (auto _ : state)
        percent = cpuPercentPlaying(file, chooseVideoDrawing(), false);
    state.counters["cpu_percent"] = percent;
}
BENCHMARK(BM_AudioCpu)->Iterations(1)->Repetitions(benchSmoke() ? 1 : 3)->Unit(benchmark::kMillisecond);

} // namespace
