// The media component on real files: time to play against the mpv command line, memory while a video
// plays, CPU while sound plays in a visible window. Needs a display with OpenGL (run it under
// tests/media/with-xvfb.sh) and the mpv command line for the comparison.
#include "MediaFixtures.h"
#include "MpvPlayer.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <clocale>
#include <sys/resource.h>

namespace {

MediaFixtures& fixtures() {
    static MediaFixtures made;
    return made;
}

QByteArray wma() {
    static const QByteArray file = fixtures().makeWma("Room3_12-14-2009_34200_1.wma", 2, 60);
    return file;
}

QByteArray wmv() {
    static const QByteArray file = fixtures().makeWmv("Room3_12-14-2009_34200_3.wmv", 30, 640, 480);
    return file;
}

// The window the component sits in, as the player window places it.
struct Shown {
    QWidget window;
    MpvPlayer* player;
    Shown() : player(new MpvPlayer(&window)) {
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

long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// setURL to playState 3 (and to the position first moving: the first sound) on a local WMA, beside
// the mpv command line's start to first sound measured in the same iteration.
void BM_OpenWmaVsMpvCli(benchmark::State& state) {
    const QByteArray file = wma();
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    Shown shown;
    MpvPlayer& player = *shown.player;
    double playing = 0, firstAudio = 0, cli = 0;
    for (auto _ : state) {
        player.setURL(QByteArray());
        QElapsedTimer clock;
        clock.start();
        player.setURL(file);
        const bool ok =
            pumpEventsUntil([&] { return player.playState() == MediaPlayer::PlayPlaying; }, 15000);
        playing = ms(clock);
        pumpEventsUntil([&] { return player.currentPosition() > 0; }, 15000);
        firstAudio = ms(clock);
        state.SetIterationTime(playing / 1000);
        cli = mpvCliFirstAudioMs(file);
        if (!ok || cli < 0) {
            state.SkipWithError(ok ? "the mpv command line did not start playing"
                                   : "the component did not play");
            break;
        }
    }
    player.setURL(QByteArray());
    state.counters["component_ms"] = playing;
    state.counters["component_first_audio_ms"] = firstAudio;
    state.counters["mpv_cli_ms"] = cli;
    state.counters["ratio"] = playing / cli;
}
BENCHMARK(BM_OpenWmaVsMpvCli)->UseManualTime()->Iterations(1)->Repetitions(9)->Unit(benchmark::kMillisecond);

// Resident memory of the whole program while a 640x480 WMV plays in the window (the first repetition
// is the program's own case: one player; later ones add what the allocator keeps of earlier players).
void BM_WmvResidentMemory(benchmark::State& state) {
    const QByteArray file = wmv();
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    long rss = 0, anon = 0;
    for (auto _ : state) {
        Shown shown;
        shown.player->setURL(file);
        runFor(3000);
        rss = statusKb("VmRSS:");
        anon = statusKb("RssAnon:");
        shown.player->setURL(QByteArray());
    }
    state.counters["rss_MB"] = rss / 1024.0;
    state.counters["anon_MB"] = anon / 1024.0;
}
BENCHMARK(BM_WmvResidentMemory)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

// CPU of the whole program, in per cent of one core, while a WMA plays with the window visible.
void BM_AudioCpu(benchmark::State& state) {
    const QByteArray file = wma();
    if (file.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the file");
        return;
    }
    Shown shown;
    shown.player->setURL(file);
    pumpEventsUntil([&] { return shown.player->currentPosition() > 0.5; }, 5000);
    double percent = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        runFor(4000);
        percent = 100.0 * (cpuSeconds() - before) / (clock.nsecsElapsed() / 1e9);
    }
    state.counters["rss_MB"] = statusKb("VmRSS:") / 1024.0;
    shown.player->setURL(QByteArray());
    state.counters["cpu_percent"] = percent;
}
BENCHMARK(BM_AudioCpu)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

} // namespace
