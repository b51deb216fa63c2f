// The pedal poll must return at once (apart from the rewind wait) to keep its 200 ms rhythm, and
// the once-a-second search for a lost pedal must stay cheap on a machine with many input devices.
#include "EvdevInputSystem.h"
#include "FakeInputSystem.h"
#include "PedalCommands.h"
#include "PedalDevices.h"
#include "CapturedLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

static void BM_PollTick(benchmark::State& state) {
    auto system = std::make_shared<FakeInputSystem>();
    auto pedal = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    CapturedLog log;
    PedalDevices devices(log);
    devices.createInputRoots([&] { return system; });
    devices.GetInputDevices();
    QString last = QStringLiteral("000");
    bool down = false;
    for (auto _ : state) {
        down = !down;
        pedal->buttons = {down, false, !down};
        const QString now = devices.GetInputDeviceData();
        benchmark::DoNotOptimize(pedalCommands(last, now));
        last = now;
    }
}
BENCHMARK(BM_PollTick);

// Lists a device tree of N nodes, reading each name, and finds no pedal: the search a lost pedal
// costs once a second.
static void BM_SearchAmongDevices(benchmark::State& state) {
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("dev"));
    for (int i = 0; i < state.range(0); ++i) {
        QFile(root.path() + QStringLiteral("/dev/event%1").arg(i)).open(QIODevice::WriteOnly);
        QDir(root.path()).mkpath(QStringLiteral("class/event%1/device").arg(i));
        QFile name(root.path() + QStringLiteral("/class/event%1/device/name").arg(i));
        name.open(QIODevice::WriteOnly);
        name.write("AT Translated Set 2 keyboard\n");
    }
    auto system = createEvdevInputSystemAt(QFile::encodeName(root.path() + QStringLiteral("/dev")),
                                           QFile::encodeName(root.path() + QStringLiteral("/class")));
    for (auto _ : state)
        benchmark::DoNotOptimize(openFirstPedal(*system));
}
BENCHMARK(BM_SearchAmongDevices)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
