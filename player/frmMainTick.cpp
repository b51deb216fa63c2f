// The playback tick and note jumps.
#include "frmMain.h"

#include "AppLog.h"
#include "ErrorHandling.h"
#include "RecordingStart.h"
#include "UnhandledError.h"

#include <QPointer>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

namespace {
MediaPlayer& mediaOf(const frmMain& window) {
    if (!window.player())
        raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    return *window.player();
}

// Video sessions, and only they, are offered full screen.
bool isVideo(const QString& sourceURL) {
    return sourceURL.endsWith(QLatin1String("wmv"), Qt::CaseInsensitive);
}
} // namespace

void frmMain::Timer1_Timer() {
    Timer1->stop();
    const QPointer<frmMain> self(this); // a message box lets events run
    // The tick's log lines wait until it is known whether its error is a repeat.
    QStringList held;
    LogSink previous = setLogSink([&held](const QString& line) { held << line; });
    std::optional<QuillonError> failure;
    try {
        logAndRaise(SourceModule::frmMain + QStringLiteral(".Timer1_Timer()"), [&] {
            MediaPlayer& media = mediaOf(*this);
            const int state = media.playState();
            if (state == MediaPlayer::PlayPlaying || state == MediaPlayer::PlayScanForward ||
                state == MediaPlayer::PlayScanReverse) {
                // A name without a usable start leaves the clock as it is; playback goes on regardless.
                if (const std::optional<QDateTime> start = RecordingStart::fromFilename(CurrentFilename))
                    SetClock(RecordingStart::recordedAt(*start, media.currentPosition()), true);
            }
            cmbFullScreen->setVisible(isVideo(media.sourceURL()));
        });
    } catch (...) {
        failure = currentError();
    }
    setLogSink(std::move(previous));
    if (failure)
        reportTickFailure(*failure, held);
    else
        for (const QString& line : held)
            writeAppLog(line);
    // The clock goes on with the next tick, unless the window went meanwhile.
    if (self && !isUnloading())
        Timer1->start();
}

void frmMain::reportTickFailure(const QuillonError& error, const QStringList& logLines) {
    for (TickFailure& seen : m_tickFailures) {
        if (seen.number == error.Number && seen.description == error.Description) {
            ++seen.repeats;
            return;
        }
    }
    m_tickFailures.push_back({error.Number, error.Description, 0});
    for (const QString& line : logLines)
        writeAppLog(line);
    reportUnhandledError(error);
}

void frmMain::logTickRepeats() {
    for (const TickFailure& failure : std::exchange(m_tickFailures, {})) {
        if (failure.repeats > 0)
            writeAppLog(QStringLiteral("ERROR: No = %1, Line No = 0, Desc = %2, AddlInfo = repeated %3 more "
                                       "times in this session")
                            .arg(failure.number)
                            .arg(failure.description)
                            .arg(failure.repeats));
    }
}

void frmMain::lvNotes_DblClick() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".lvNotes_DblClick()"), [&] {
        const QList<QTreeWidgetItem*> selected = lvNotes->selectedItems();
        if (selected.isEmpty())
            return;
        const std::optional<qint64> seconds =
            RecordingStart::notePosition(CurrentFilename, selected.first()->text(0));
        if (!seconds)
            return;
        mediaOf(*this).setCurrentPosition(static_cast<double>(*seconds));
    });
}
