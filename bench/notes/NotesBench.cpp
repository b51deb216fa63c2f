// Reading a notes document and showing it in the player window's lists.
#include "BenchSmoke.h"
#include "FakePlayerServices.h"
#include "NotesDocument.h"
#include "NotesFiles.h"
#include "NotesPanel.h"
#include "Platform.h"
#include "TimeText.h"
#include "frmMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <clocale>
#include <malloc.h>
#include <map>
#include <memory>

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// A document of n notes and a few header items, like a recorder writes; written once per size.
QByteArray documentPath(qint64 notes) {
    static std::map<qint64, QByteArray> written;
    if (auto it = written.find(notes); it != written.end())
        return it->second;
    const QByteArray name = "S" + QByteArray::number(notes) + "_1.xml";
    const QByteArray path = QFile::encodeName(folder().path()) + "/" + name;
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", path.constData());
    file.write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<session>\n  <header>\n    <items>\n"
        "      <item name=\"Room\" value=\"Hall 2\"/>\n      <item name=\"Recorder\" value=\"Unit 7\"/>\n"
        "    </items>\n  </header>\n  <duration>9:59:59</duration>\n  <started>8:00:00 AM</started>\n"
        "  <finished>5:59:59 PM</finished>\n  <notes>\n");
    QByteArray chunk;
    for (qint64 i = 0; i < notes; ++i) {
        const qint64 s = 8 * 3600 + (i * 7) % 36000;
        const QByteArray time = i % 2 ? QByteArray::number(s / 3600 % 12 == 0 ? 12 : s / 3600 % 12) + ":" +
                                            QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ":" +
                                            QByteArray::number(s % 60).rightJustified(2, '0') +
                                            (s / 3600 < 12 ? " AM" : " PM")
                                      : QByteArray::number(s / 3600).rightJustified(2, '0') + ":" +
                                            QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ":" +
                                            QByteArray::number(s % 60).rightJustified(2, '0');
        chunk += "    <note>\n      <time>" + time + "</time>\n      <speaker>Member " +
                 QByteArray::number(i % 17) + "</speaker>\n      <text>Note " + QByteArray::number(i) +
                 ": the item under discussion &amp; its amendment</text>\n    </note>\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "  </notes>\n</session>\n");
    written[notes] = path;
    return path;
}

qint64 fileSize(const QByteArray& path) {
    return QFile(QFile::decodeName(path)).size();
}

size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// One window for all runs; gone before the application is.
std::unique_ptr<FakePlayerServices> services;
std::unique_ptr<frmMain> sharedWindow;

QTreeWidget* notesOf(frmMain& window) {
    return window.notes().notesList();
}

// The window with the session of a media file on the disc open (its notes loaded once, untimed).
frmMain& windowFor(const QByteArray& media) {
    if (!sharedWindow) {
        services = std::make_unique<FakePlayerServices>();
        sharedWindow.reset(frmMain::load(services->services()));
    }
    if (sharedWindow->session().FileBytes != media) {
        SessionData session;
        session.Folder = QFile::encodeName(folder().path());
        session.FileBytes = media;
        session.NotesCandidates = NotesFiles::candidateNames(media);
        sharedWindow->Init(QString(), session);
    }
    notesOf(*sharedWindow)->clear();
    return *sharedWindow;
}

frmMain& windowFor(qint64 notes) {
    return windowFor(QStringLiteral("S%1_1.wma").arg(notes).toUtf8());
}

QByteArray mediaOf(const QByteArray& documentPath) {
    return documentPath.mid(documentPath.lastIndexOf('/') + 1).replace(".xml", ".wma");
}

// The whole of LoadXML: find, read, parse, walk, format the times, fill lvNotes and lvData.
void BM_LoadXML(benchmark::State& state) {
    const qint64 notes = state.range(0);
    const QByteArray path = documentPath(notes);
    frmMain& window = windowFor(notes);
    for (auto _ : state) {
        state.PauseTiming();
        notesOf(window)->clear();
        state.ResumeTiming();
        window.LoadXML(notesOf(window));
    }
    if (notesOf(window)->topLevelItemCount() != std::min(notes, qint64(NotesDocument::MaxNoteRows)))
        state.SkipWithError("wrong row count");
    state.SetComplexityN(notes);
    state.SetItemsProcessed(state.iterations() * notes);
    state.counters["file_MB"] = double(fileSize(path)) / 1e6;
}
BENCHMARK(BM_LoadXML)
    ->Arg(BenchSmoke::size(10000, 10))
    ->Arg(BenchSmoke::size(32767, 20))
    ->Arg(BenchSmoke::size(100000, 30))
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Apply(BenchSmoke::once);

// A document of about 100 MB: the window must come back within a few seconds.
BENCHMARK(BM_LoadXML)
    ->Name("BM_LoadXML_100MB")
    ->Arg(BenchSmoke::size(600000, 40))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2)
    ->Apply(BenchSmoke::once);

// The reader alone: read, parse and walk.
void BM_ReadDocument(benchmark::State& state) {
    const QByteArray path = documentPath(state.range(0));
    for (auto _ : state) {
        NotesDocument document;
        if (!document.loadFile(path))
            state.SkipWithError("load failed");
        const NotesContent content = document.content();
        benchmark::DoNotOptimize(content.notes.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadDocument)
    ->Arg(BenchSmoke::size(10000, 10))
    ->Arg(BenchSmoke::size(32767, 20))
    ->Arg(BenchSmoke::size(100000, 30))
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Apply(BenchSmoke::once);

// About 100 MB shaped to hurt: many tiny notes, one huge text, deep nesting, many header items.
QByteArray hostileDocument(int kind) {
    static std::map<int, QByteArray> written;
    if (auto it = written.find(kind); it != written.end())
        return it->second;
    const qsizetype target = BenchSmoke::size(100'000'000, 100'000);
    const QByteArray path = QFile::encodeName(folder().path()) + "/H" + QByteArray::number(kind) + "_1.xml";
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", path.constData());
    const auto repeat = [&](const QByteArray& head, const QByteArray& unit, const QByteArray& tail) {
        file.write(head);
        const QByteArray block = unit.repeated((1 << 20) / unit.size() + 1);
        for (qsizetype done = 0; done < target; done += block.size())
            file.write(block);
        file.write(tail);
    };
    switch (kind) {
    case 0:
        repeat("<s><notes>", "<note/>", "</notes></s>");
        break;
    case 1:
        repeat("<s><notes><note><text>", "lorem ipsum ", "</text></note></notes></s>");
        break;
    case 2: {
        file.write("<s><notes><note><text>");
        const qsizetype depth = target / 7;
        const QByteArray open = QByteArray("<a>").repeated(1 << 16),
                         close = QByteArray("</a>").repeated(1 << 16);
        for (qsizetype d = 0; d < depth; d += 1 << 16)
            file.write(open);
        for (qsizetype d = 0; d < depth; d += 1 << 16)
            file.write(close);
        file.write("</text></note></notes></s>");
        break;
    }
    default:
        repeat("<s><header><items>", "<item name='n' value='v'/>", "</items></header></s>");
    }
    written[kind] = path;
    return path;
}

void BM_LoadXML_Hostile(benchmark::State& state) {
    const QByteArray path = hostileDocument(int(state.range(0)));
    frmMain& window = windowFor(mediaOf(path));
    auto* info = window.findChild<QTreeWidget*>(QStringLiteral("lvData"));
    for (auto _ : state) {
        notesOf(window)->clear();
        malloc_trim(0);
        const size_t before = heapInUse();
        window.LoadXML(notesOf(window));
        state.counters["lists_x"] = (double(heapInUse()) - double(before)) / double(fileSize(path));
    }
    state.counters["file_MB"] = double(fileSize(path)) / 1e6;
    state.counters["rows"] = notesOf(window)->topLevelItemCount();
    state.counters["info_rows"] = info->topLevelItemCount();
    notesOf(window)->clear();
    info->clear();
}
BENCHMARK(BM_LoadXML_Hostile)
    ->DenseRange(0, 3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Apply(BenchSmoke::once);

// Painting the notes list after a document whose one note holds 100 MB of text.
void BM_PaintHugeNote(benchmark::State& state) {
    const QByteArray path = hostileDocument(1);
    frmMain& window = windowFor(mediaOf(path));
    window.LoadXML(notesOf(window));
    window.show();
    for (auto _ : state)
        benchmark::DoNotOptimize(notesOf(window)->grab());
    window.hide();
    notesOf(window)->clear();
}
BENCHMARK(BM_PaintHugeNote)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Apply(BenchSmoke::once);

// Stages of LoadXML after the reader: the time texts, and the rows handed to the list.
void BM_FormatTimes(benchmark::State& state) {
    NotesDocument document;
    document.loadFile(documentPath(state.range(0)));
    const NotesContent content = document.content();
    for (auto _ : state) {
        for (const NoteEntry& note : content.notes)
            benchmark::DoNotOptimize(formatTimeAmPm(note.time));
    }
}
BENCHMARK(BM_FormatTimes)
    ->Arg(BenchSmoke::size(32767, 20))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Apply(BenchSmoke::once);

void BM_FillList(benchmark::State& state) {
    NotesDocument document;
    document.loadFile(documentPath(state.range(0)));
    const NotesContent content = document.content();
    QTreeWidget list;
    list.setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Source"), QStringLiteral("Note")});
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        QList<QTreeWidgetItem*> items;
        items.reserve(content.notes.size());
        for (const NoteEntry& note : content.notes)
            items << new QTreeWidgetItem(QStringList{note.time, note.speaker, note.text});
        list.addTopLevelItems(items);
    }
}
BENCHMARK(BM_FillList)
    ->Arg(BenchSmoke::size(32767, 20))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Apply(BenchSmoke::once);

// Heap held beside the file: by the parsed tree, by tree and rows together (the reader's peak),
// and by the filled lists once LoadXML is done. One pass; time is not the point here.
void BM_Memory(benchmark::State& state) {
    const qint64 notes = state.range(0);
    const QByteArray path = documentPath(notes);
    const double size = double(fileSize(path));
    frmMain& window = windowFor(notes);
    size_t tree = 0, treeAndRows = 0, lists = 0;
    for (auto _ : state) {
        malloc_trim(0);
        size_t before = heapInUse();
        {
            NotesDocument document;
            document.loadFile(path);
            tree = heapInUse() - before;
            const NotesContent content = document.content();
            treeAndRows = heapInUse() - before;
        }
        malloc_trim(0);
        before = heapInUse();
        window.LoadXML(notesOf(window));
        lists = heapInUse() - before;
    }
    state.counters["file_MB"] = size / 1e6;
    state.counters["tree_x"] = double(tree) / size;
    state.counters["tree_rows_x"] = double(treeAndRows) / size;
    state.counters["lists_x"] = double(lists) / size;
}
BENCHMARK(BM_Memory)
    ->Arg(BenchSmoke::size(10000, 10))
    ->Arg(BenchSmoke::size(100000, 30))
    ->Arg(BenchSmoke::size(600000, 40))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Apply(BenchSmoke::once);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    sharedWindow.reset();
    services.reset();
    benchmark::Shutdown();
    return 0;
}
