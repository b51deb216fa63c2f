// The playback tick on the real player window (offscreen) over a scripted media component.
#include "BenchSmoke.h"
#include "ClockPanel.h"
#include "FakePlayerServices.h"
#include "RecordingStart.h"
#include "frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QTimeZone>
#include <benchmark/benchmark.h>
#include <clocale>

namespace {
struct Window : FakePlayerServices {
    frmMain window{services()};

    Window() {
        window.Form_Load();
        SessionData session;
        session.Filename = QStringLiteral("Room3_12-14-2009_86000_3.wmv");
        session.RecordingStart = RecordingStart::fromFilename(session.Filename);
        window.Init(QString(), session);
        fake->source = QStringLiteral("/disc/") + session.Filename;
        fake->state = MediaPlayer::PlayPlaying;
    }
};

// Every tick moves half a second on, so digits, marker and (past midnight) the dates change.
void BM_Tick(benchmark::State& state) {
    Window w;
    double position = 0;
    for (auto _ : state) {
        w.fake->position = position;
        w.window.Timer1_Timer();
        position = position > 1000 ? 0 : position + 0.5;
    }
    benchmark::DoNotOptimize(w.window.clock().shownTime());
}
BENCHMARK(BM_Tick)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);

// The same tick on a shown window, with the repaint it causes.
void BM_TickAndPaint(benchmark::State& state) {
    Window w;
    w.window.show();
    QCoreApplication::processEvents();
    double position = 0;
    for (auto _ : state) {
        w.fake->position = position;
        w.window.Timer1_Timer();
        QCoreApplication::processEvents();
        position = position > 1000 ? 0 : position + 1.0;
    }
}
BENCHMARK(BM_TickAndPaint)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);

void BM_SetClock(benchmark::State& state) {
    Window w;
    QDateTime at(QDate(2009, 12, 14), QTime(23, 0, 0), QTimeZone::utc());
    for (auto _ : state) {
        w.window.SetClock(at, true);
        at = at.addSecs(1);
    }
}
BENCHMARK(BM_SetClock)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);

void BM_RecordingStart(benchmark::State& state) {
    const QString name = QStringLiteral("Room3_12-14-2009_86000_3.wmv");
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordingStart::fromFilename(name));
}
BENCHMARK(BM_RecordingStart)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);
} // namespace
