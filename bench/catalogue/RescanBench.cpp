// Rescan of a disc of 32,767 media files, rows in the list included, beside a bare directory read
// of the same folder.
#include "BenchSmoke.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "SessionDiscovery.h"
#include "TestSupport.h"
#include "frmSessions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdio>
#include <dirent.h>
#include <ftw.h>

namespace {
const int kFiles = int(BenchSmoke::size(32767, 20));

class Disc {
  public:
    Disc() {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/quillon-bench-XXXXXX";
        m_path = mkdtemp(pattern.data()) ? pattern : QByteArray();
        const char* places[] = {"Room3", "Hall", "Chamber B", "Annex"};
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray name = QByteArray(places[i % 4]) + "_12-14-2009_" +
                                    QByteArray::number(30000 + i) + "_" + QByteArray::number(i % 3 + 1) +
                                    (i % 3 == 2 ? ".wmv" : ".wma");
            if (FILE* f = fopen((m_path + '/' + name).constData(), "wb"))
                fclose(f);
        }
    }
    ~Disc() {
        nftw(
            m_path.constData(), [](const char* p, const struct stat*, int, FTW*) { return ::remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }
    const QByteArray& path() const { return m_path; }

  private:
    QByteArray m_path;
};

Disc& disc() {
    static Disc d;
    return d;
}

void BM_BareReaddir(benchmark::State& state) {
    for (auto _ : state) {
        int count = 0;
        DIR* dir = opendir(disc().path().constData());
        while (const dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.';
        closedir(dir);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_BareReaddir)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);

void BM_ScanRecords(benchmark::State& state) {
    CapturedLog log;
    for (auto _ : state) {
        const QList<QByteArray> names = GetFilenames(log, disc().path());
        QVector<SessionData> sessions;
        for (const QByteArray& name : names)
            UpdateSessionData(log, sessions, GetSessionData(log, disc().path(), name));
        benchmark::DoNotOptimize(sessions.size());
    }
}
BENCHMARK(BM_ScanRecords)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);

void BM_Rescan(benchmark::State& state) {
    CapturedLog log;
    RecordedMessages messages;
    PedalDevices pedal(log);
    const MediaFactory media{[](QWidget*) { return std::make_unique<FakeMediaPlayer>(); },
                             [] { return QStringLiteral("9.0"); }};
    frmSessions catalogue({log, messages, media, pedal, {}, disc().path()});
    catalogue.Form_Load(); // columns, the first scan, the window shown
    QApplication::processEvents();
    auto* list = catalogue.findChild<QTreeWidget*>(QStringLiteral("lvSessions"));
    for (auto _ : state) {
        state.PauseTiming();
        list->clear(); // start from an empty list, as start-up does
        QApplication::processEvents();
        state.ResumeTiming();
        catalogue.Rescan();
        if (state.range(0))
            QApplication::processEvents(); // the list takes in its rows and lays out the first page
    }
    if (catalogue.rowCount() != kFiles)
        state.SkipWithError("not every file became a row");
    state.counters["rows"] = catalogue.rowCount();
}
BENCHMARK(BM_Rescan)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->Apply(BenchSmoke::once);
} // namespace
