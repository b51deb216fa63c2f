// The playback tick and note jumps.
#include "frmMain.h"

#include "ErrorHandling.h"
#include "RecordingStart.h"

#include <QToolButton>
#include <QTreeWidget>

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
    logAndRaise(SourceModule::frmMain + QStringLiteral(".Timer1_Timer()"), [&] {
        Timer1->stop();
        MediaPlayer& media = mediaOf(*this);
        const int state = media.playState();
        if (state == MediaPlayer::PlayPlaying || state == MediaPlayer::PlayScanForward ||
            state == MediaPlayer::PlayScanReverse) {
            // A name without a usable start leaves the clock as it is; playback goes on regardless.
            if (const std::optional<QDateTime> start = RecordingStart::fromFilename(CurrentFilename))
                SetClock(RecordingStart::recordedAt(*start, media.currentPosition()), true);
        }
        cmbFullScreen->setVisible(isVideo(media.sourceURL()));
        Timer1->start();
    });
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
