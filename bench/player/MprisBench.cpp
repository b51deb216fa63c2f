// The desktop's media controls: time from a D-Bus call (or a playerctl command) to its effect on the
// engine, median and worst over 30 calls, on the real player window and component playing a WMA.
// Needs a display and a session bus: run it under tests/support/private-session.sh, playerctl installed.
#include "FakePlayerServices.h"
#include "MediaFixtures.h"
#include "MpvPlayer.h"
#include "frmMain.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <functional>
#include <vector>

namespace {
constexpr int kCalls = 30;
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.quillon");

// Runs events until `done`, looking every millisecond; false when timeoutMs pass first.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    look.setTimerType(Qt::PreciseTimer);
    look.setInterval(1);
    QElapsedTimer clock;
    clock.start();
    bool met = false;
    QObject::connect(&look, &QTimer::timeout, [&] {
        met = done();
        if (met || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    look.start();
    loop.exec();
    return met;
}

// The player window playing a minute of WMA, on the session bus as the program puts it there.
struct Playing : FakePlayerServices {
    MediaFixtures fixtures;
    std::unique_ptr<frmMain> window;
    MpvPlayer* engine = nullptr;
    QDBusConnection client =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));

    bool open() {
        const QByteArray file = fixtures.makeWma("Room3_12-14-2009_34200_1.wma", 2, 60);
        PlayerServices made = services();
        made.media = mpvMediaFactory(log);
        window.reset(frmMain::load(made));
        engine = dynamic_cast<MpvPlayer*>(window->player());
        SessionData session;
        session.Folder = fixtures.folder();
        session.FileBytes = "Room3_12-14-2009_34200_1.wma";
        window->show();
        return !file.isEmpty() && engine &&
               window->openSession(session, frmMain::HandBack::ShowCatalogue, 15000, {}) &&
               runUntil([this] { return engine->enginePosition() > 0.5; }) && client.isConnected();
    }
    QDBusPendingCall call(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(kService, QStringLiteral("/org/mpris/MediaPlayer2"),
                                           QStringLiteral("org.mpris.MediaPlayer2.Player"), method);
        message.setArguments(arguments);
        return client.asyncCall(message);
    }
    bool engineMoving() {
        const double at = engine->enginePosition();
        return runUntil([&] { return engine->enginePosition() > at; }, 2000);
    }
    bool engineStill() {
        const double at = engine->enginePosition();
        runUntil([] { return false; }, 150);
        return engine->enginePosition() == at;
    }
};

double ms(const QElapsedTimer& clock) {
    return clock.nsecsElapsed() / 1e6;
}

void report(benchmark::State& state, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = times.back();
}

// Times pauses of the playing engine: `pause` sends one and waits for its end (false when it failed);
// the engine's clock must then stand. Played again between pauses.
template <typename Pause> void timePauses(benchmark::State& state, const char* failure, Pause pause) {
    Playing p;
    if (!p.open()) {
        state.SkipWithError("the window did not play on the session bus");
        return;
    }
    std::vector<double> times;
    for (auto _ : state) {
        for (int i = 0; i < kCalls; ++i) {
            if (!p.engineMoving()) {
                state.SkipWithError("the engine did not play");
                return;
            }
            QElapsedTimer clock;
            clock.start();
            const bool ended = pause(p);
            times.push_back(ms(clock));
            if (!ended || !p.engineStill()) {
                state.SkipWithError(failure);
                return;
            }
            p.call(QStringLiteral("Play"));
        }
    }
    report(state, times);
}

// "Pause": from the call sent until its answer, which the player sends once mpv has paused (the
// write of mpv's pause waits for it); the engine's clock then stands.
void BM_PauseCallToEnginePaused(benchmark::State& state) {
    timePauses(state, "the engine did not pause", [](Playing& p) {
        const QDBusPendingCall pending = p.call(QStringLiteral("Pause"));
        return runUntil([&] { return pending.isFinished(); }) && !pending.isError();
    });
}
BENCHMARK(BM_PauseCallToEnginePaused)->Iterations(1)->Unit(benchmark::kMillisecond);

// "SetPosition" to 10 s and 40 s in turn: from the call sent until mpv's own clock plays on from there.
void BM_SetPositionCallToEngineThere(benchmark::State& state) {
    Playing p;
    if (!p.open()) {
        state.SkipWithError("the window did not play on the session bus");
        return;
    }
    // The track is named in the metadata, as a desktop reads it.
    QDBusMessage get = QDBusMessage::createMethodCall(kService, QStringLiteral("/org/mpris/MediaPlayer2"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get.setArguments({QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Metadata")});
    const QDBusPendingCall metadata = p.client.asyncCall(get);
    runUntil([&] { return metadata.isFinished(); });
    const QVariant track =
        qdbus_cast<QVariantMap>(
            metadata.reply().arguments().value(0).value<QDBusVariant>().variant().value<QDBusArgument>())
            .value(QStringLiteral("mpris:trackid"));
    std::vector<double> times;
    for (auto _ : state) {
        for (int i = 0; i < kCalls; ++i) {
            const double target = i % 2 ? 40.0 : 10.0;
            QElapsedTimer clock;
            clock.start();
            const QDBusPendingCall pending =
                p.call(QStringLiteral("SetPosition"), {track, qlonglong(std::llround(target * 1e6))});
            const bool there = runUntil([&] {
                const double at = p.engine->enginePosition();
                return at > target + 0.01 && at < target + 1.0;
            });
            times.push_back(ms(clock));
            if (!there || !runUntil([&] { return pending.isFinished(); }) || pending.isError()) {
                state.SkipWithError("the engine did not go there");
                return;
            }
        }
    }
    report(state, times);
}
BENCHMARK(BM_SetPositionCallToEngineThere)->Iterations(1)->Unit(benchmark::kMillisecond);

// "playerctl pause" as a media key's handler runs it: from the command's start until it ends (it
// ends on the player's answer, sent once mpv has paused), the program's start included.
void BM_PlayerctlPauseToEnginePaused(benchmark::State& state) {
    timePauses(state, "playerctl did not pause the engine", [](Playing&) {
        QProcess playerctl;
        playerctl.start(QStringLiteral("playerctl"),
                        {QStringLiteral("-p"), QStringLiteral("quillon"), QStringLiteral("pause")});
        return runUntil([&] { return playerctl.state() == QProcess::NotRunning; }) &&
               playerctl.exitCode() == 0;
    });
}
BENCHMARK(BM_PlayerctlPauseToEnginePaused)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
