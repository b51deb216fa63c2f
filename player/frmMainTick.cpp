// The playback tick and note jumps: play positions mapped to the recorded time of day and back.
#include "frmMain.h"

#include "ClockPanel.h"
#include "ErrorHandling.h"
#include "NotesPanel.h"
#include "RecordingStart.h"
#include "TimeText.h"
#include "Transport.h"

#include <QPointer>
#include <QTimer>

namespace {
// Video sessions, and only they, are offered full screen.
bool isVideo(const QString& sourceURL) {
    return sourceURL.endsWith(QLatin1String("wmv"), Qt::CaseInsensitive);
}
} // namespace

void frmMain::SetClock(const QDateTime& NewDateTime, bool MilitaryTime) {
    m_clock->SetClock(NewDateTime, MilitaryTime,
                      SecondsToTime(m_log, m_session.StartSeconds, QStringLiteral("hh:mm:ss AMPM")));
}

void frmMain::Timer1_Timer() {
    Timer1->stop();
    const QPointer<frmMain> self(this); // a message box lets events run
    // The tick's log lines wait until it is known whether its error is a repeat.
    m_log.hold();
    std::optional<QuillonError> failure;
    const QString source = SourceModule::frmMain + QStringLiteral(".Timer1_Timer()");
    try {
        logAndRaise(m_log, source, [&] {
            if (!m_player)
                raiseObjectNotSet();
            const int state = m_player->playState();
            if (state == MediaPlayer::PlayPlaying || state == MediaPlayer::PlayScanForward ||
                state == MediaPlayer::PlayScanReverse) {
                // A name without a usable start leaves the clock as it is; playback goes on regardless.
                if (m_session.RecordingStart)
                    SetClock(
                        RecordingStart::recordedAt(*m_session.RecordingStart, m_player->currentPosition()),
                        true);
                else
                    logOncePerSession(source, noStartText());
            }
            m_transport->offerFullScreen(isVideo(m_player->sourceURL()));
            if (m_mediaControls)
                m_mediaControls->refresh();
        });
    } catch (...) {
        failure = currentError();
    }
    const QStringList held = m_log.takeHeld();
    if (failure)
        m_tickFailures.report(*failure, held);
    else
        m_log.pass(held);
    // The clock goes on with the next tick, unless the window went meanwhile.
    if (self && !isUnloading())
        Timer1->start();
}

void frmMain::lvNotes_DblClick() {
    const QString source = SourceModule::frmMain + QStringLiteral(".lvNotes_DblClick()");
    logAndRaise(m_log, source, [&] {
        const std::optional<QString> note = m_notes->selectedNoteTime();
        if (!note)
            return;
        if (!m_session.RecordingStart) {
            logOncePerSession(source, noStartText());
            return;
        }
        const std::optional<qint64> seconds = RecordingStart::notePosition(*m_session.RecordingStart, *note);
        if (!seconds) {
            logOncePerSession(
                source,
                QStringLiteral("Type mismatch: the note time \"%1\" is not a time of day").arg(*note));
            return;
        }
        m_transport->jumpTo(static_cast<double>(*seconds));
    });
}

QString frmMain::noStartText() const {
    return QStringLiteral("Type mismatch: the media name \"%1\" gives no recording start")
        .arg(m_session.Filename);
}

// A failure the user meets again at every tick or click of a session (the clock stays dark, the jump
// does nothing) is logged once in that session, and shown nowhere: a message every 500 ms helps no one.
void frmMain::logOncePerSession(const QString& source, const QString& description) {
    if (m_loggedInSession.contains(source + description))
        return;
    m_loggedInSession.insert(source + description);
    ErrorRecord record;
    LogError(m_log, record, source, ErrNo::TypeMismatch, 0, description, QStringLiteral("Quillon502"),
             QString(), QStringLiteral("0"), QString());
}
