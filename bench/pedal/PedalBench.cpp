// The pedal poll must return at once (apart from the rewind wait) to keep its 200 ms rhythm, the
// once-a-second search for a lost pedal must stay cheap on a machine with many input devices, and a
// press must reach the player soon after the next poll on either input path.
#include "BenchSmoke.h"
#include "CapturedLog.h"
#include "EvdevInputSystem.h"
#include "FakeInputSystem.h"
#include "HidrawInputSystem.h"
#include "PedalCommands.h"
#include "PedalDevices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
BENCHMARK(BM_PollTick)->Apply(BenchSmoke::once);

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
    auto system = createEvdevInputSystem({QFile::encodeName(root.path() + QStringLiteral("/dev")),
                                          QFile::encodeName(root.path() + QStringLiteral("/class"))});
    for (auto _ : state)
        benchmark::DoNotOptimize(openFirstPedal(*system));
}
BENCHMARK(BM_SearchAmongDevices)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond)->Apply(BenchSmoke::once);

namespace {
// A pedal at the end of one input path: press() and release() act as the foot does.
struct SimulatedPedal {
    virtual ~SimulatedPedal() = default;
    virtual std::shared_ptr<InputSystem> system() = 0;
    virtual void press(bool down) = 0;
};

// The kernel's input device, as the pedal layer sees it (the key state a read returns).
struct InputDevicePedal : SimulatedPedal {
    std::shared_ptr<FakeInputSystem> fake = std::make_shared<FakeInputSystem>();
    std::shared_ptr<FakeDeviceState> state = fake->add(QStringLiteral("VEC  VEC USB Footpedal"));
    std::shared_ptr<InputSystem> system() override { return fake; }
    void press(bool down) override { state->buttons = {false, down, false}; }
};

// A Philips ACC2310 shown only as raw HID: the real reader on a FIFO node, written as the device writes.
struct RawHidPedal : SimulatedPedal {
    QTemporaryDir root;
    int writer = -1;
    RawHidPedal() {
        QDir(root.path()).mkpath(QStringLiteral("sys/hidraw0/device"));
        QFile uevent(root.filePath(QStringLiteral("sys/hidraw0/device/uevent")));
        uevent.open(QIODevice::WriteOnly);
        uevent.write("HID_ID=0003:00000911:00001844\nHID_NAME=Footcontrol USB\n");
        QFile descriptor(root.filePath(QStringLiteral("sys/hidraw0/device/report_descriptor")));
        descriptor.open(QIODevice::WriteOnly);
        descriptor.write("\x05\x01\x09\x04\xa1\x01");
        const QByteArray node = QFile::encodeName(root.filePath(QStringLiteral("hidraw0")));
        ::mkfifo(node.constData(), 0600);
        writer = ::open(node.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    ~RawHidPedal() override { ::close(writer); }
    std::shared_ptr<InputSystem> system() override {
        return createHidrawInputSystem(
            {QFile::encodeName(root.path()), QFile::encodeName(root.filePath(QStringLiteral("sys")))});
    }
    void press(bool down) override {
        const char report = down ? 0x02 : 0x00; // play
        benchmark::DoNotOptimize(::write(writer, &report, 1));
    }
};

// Press-to-command on a real clock: the poll runs every 200 ms; presses and releases of the play
// button come at phases spread over the period; the time from a press to the poll that issues play.
void pressToCommand(benchmark::State& state, SimulatedPedal& pedal) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kPoll = std::chrono::milliseconds(200);
    CapturedLog log;
    PedalDevices devices(log);
    devices.createInputRoots([&] { return pedal.system(); });
    devices.GetInputDevices();
    std::vector<double> latencies;
    QString last = devices.GetInputDeviceData();
    auto tick = Clock::now();
    int press = 0;
    for (auto _ : state) {
        const int pressPhase = (press++ * 7) % 200; // spread evenly over the period
        for (bool down : {true, false}) {
            const auto phase = std::chrono::milliseconds(down ? pressPhase : 100);
            std::this_thread::sleep_until(tick + phase);
            const auto pressed = Clock::now();
            pedal.press(down);
            tick += kPoll;
            std::this_thread::sleep_until(tick);
            const QString now = devices.GetInputDeviceData();
            const auto steps = pedalCommands(last, now);
            last = now;
            if (down &&
                std::find(steps.begin(), steps.end(), PedalCommand{PedalCommand::Play}) == steps.end())
                state.SkipWithError("the press issued no play");
            if (down)
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
        }
    }
    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["worst_ms"] = latencies.back();
}
} // namespace

static void BM_PressToCommand_InputDevice(benchmark::State& state) {
    InputDevicePedal pedal;
    pressToCommand(state, pedal);
}
BENCHMARK(BM_PressToCommand_InputDevice)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond)
    ->Apply(BenchSmoke::once);

static void BM_PressToCommand_RawHid(benchmark::State& state) {
    RawHidPedal pedal;
    pressToCommand(state, pedal);
}
BENCHMARK(BM_PressToCommand_RawHid)->Iterations(30)->Unit(benchmark::kMillisecond)->Apply(BenchSmoke::once);

BENCHMARK_MAIN();
