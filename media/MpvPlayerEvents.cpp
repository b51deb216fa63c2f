// mpv's events, drained on the GUI thread: opening, failing, ending, and what mpv says on the way.
#include "ErrorHandling.h"
#include "MpvControlBar.h"
#include "MpvPlayer.h"
#include "Platform.h"
#include "QuillonError.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <mpv/client.h>

namespace {
const QString kOpenSource = QStringLiteral("Quillon502.MPlayer.Open()");
const QString kEventSource = QStringLiteral("Quillon502.MPlayer.Events()");
} // namespace

// The bar follows on its own timer: a refresh for each of the many time events would redraw it as often.
void MpvPlayer::drainEvents() {
    m_drainQueued = false;
    while (const mpv_event* event = m_core.nextEvent())
        guarded(
            kEventSource, [this, event] { handleEvent(*event); }, false, false);
    announce();
}

void MpvPlayer::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        m_loadingEntry =
            static_cast<quint64>(static_cast<mpv_event_start_file*>(event.data)->playlist_entry_id);
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_loadingEntry == m_state.entryId && m_state.entryId != 0)
            onFileLoaded();
        break;
    case MPV_EVENT_END_FILE:
        onEndFile(*static_cast<mpv_event_end_file*>(event.data));
        break;
    case MPV_EVENT_SEEK:
        m_state.seekRunning();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        m_state.playbackRestarted();
        break;
    case MPV_EVENT_COMMAND_REPLY:
    case MPV_EVENT_SET_PROPERTY_REPLY:
        onReply(event);
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<mpv_event_log_message*>(event.data);
        const QString text = QString::fromUtf8(message->text).trimmed();
        if (message->log_level <= MPV_LOG_LEVEL_ERROR && qstrncmp(message->prefix, "ao", 2) != 0) {
            m_state.lastError = text; // why a media failed; a missing sound device is no reason
            noticeNothingToPlay();    // the decoder may speak after the end
        }
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(*static_cast<mpv_event_property*>(event.data));
        break;
    default:
        break;
    }
}

void MpvPlayer::onReply(const mpv_event& event) {
    const MpvCore::Reply reply = m_core.takeReply(event);
    if (reply.what == "seek")
        m_state.seekTaken(reply.error.isEmpty());
    if (!reply.error.isEmpty())
        raiseError(ErrNo::MediaFailure, reply.error);
}

void MpvPlayer::onPropertyChange(const mpv_event_property& property) {
    const QByteArray name(property.name);
    if (name == "time-pos") {
        const bool known =
            property.format == MPV_FORMAT_DOUBLE && std::isfinite(*static_cast<double*>(property.data));
        m_state.heard(known ? std::optional(*static_cast<double*>(property.data)) : std::nullopt);
    } else if (name == "track-list") {
        onTracks(property);
    } else if (name == "eof-reached") {
        const bool ended = property.format == MPV_FORMAT_FLAG && *static_cast<int*>(property.data);
        if (ended && m_state.openState == OpenOpen) {
            m_state.pendingSeek.reset(); // played on from it, up to here
            m_state.stopped = true;
            m_state.paused = false;
            m_state.atEnd = m_state.rate > 0; // backwards it ends at the start
            updatePlayback();
            noticeNothingToPlay();
        }
    } else if (name == "duration") {
        if (property.format == MPV_FORMAT_DOUBLE)
            m_state.duration = std::max(0.0, *static_cast<double*>(property.data));
    } else if (name == "current-ao") {
        const bool silent =
            property.format == MPV_FORMAT_STRING && qstrcmp(*static_cast<char**>(property.data), "null") == 0;
        if (silent != m_silent) {
            m_silent = silent;
            showSilentNote();
        }
    }
}

void MpvPlayer::showSilentNote() {
    if (m_state.openState == OpenOpen)
        m_bar->setStatus(m_silent ? tr("No sound device: playing without sound") : QString());
}

// A file cut to its first kilobytes opens and ends at once, before the bar shows a second: it is found
// at its end. A real recording, however short, decodes without an error; a cut one reports one, or
// holds nothing at all.
void MpvPlayer::noticeNothingToPlay() {
    if (m_state.openState != OpenOpen || !m_state.atEnd || m_state.nothingToPlay)
        return;
    const double length = std::max(m_state.duration, m_state.engineTime.value_or(0.0));
    if (length >= 1.0 || (length >= 0.05 && m_state.lastError.isEmpty()))
        return;
    m_state.nothingToPlay = true;
    const QString name = displayFileName(m_url);
    m_bar->setStatus(tr("The file %1 holds nothing to play").arg(QFileInfo(name).fileName()));
    const QString why =
        m_state.lastError.isEmpty() ? QString() : QStringLiteral(" (") + m_state.lastError + ')';
    logAndCarryOn(m_log, kOpenSource, [&] {
        raiseError(ErrNo::MediaFailure, QStringLiteral("\"%1\" holds nothing to play%2").arg(name, why));
    });
}

// Video is a video track that is not a picture of an album's cover.
void MpvPlayer::onTracks(const mpv_event_property& property) {
    m_state.hasVideo = false;
    if (property.format != MPV_FORMAT_NODE ||
        static_cast<mpv_node*>(property.data)->format != MPV_FORMAT_NODE_ARRAY)
        return;
    const mpv_node_list* tracks = static_cast<mpv_node*>(property.data)->u.list;
    for (int i = 0; i < tracks->num; ++i) {
        if (tracks->values[i].format != MPV_FORMAT_NODE_MAP)
            continue;
        bool video = false, cover = false;
        const mpv_node_list* track = tracks->values[i].u.list;
        for (int k = 0; k < track->num; ++k) {
            const mpv_node& value = track->values[k];
            if (qstrcmp(track->keys[k], "type") == 0 && value.format == MPV_FORMAT_STRING)
                video = qstrcmp(value.u.string, "video") == 0;
            if (qstrcmp(track->keys[k], "albumart") == 0 && value.format == MPV_FORMAT_FLAG)
                cover = value.u.flag != 0;
        }
        m_state.hasVideo = m_state.hasVideo || (video && !cover);
    }
}

void MpvPlayer::onFileLoaded() {
    m_state.openState = OpenOpen;
    showSilentNote();
    updatePlayback();
    refreshBar();
}

void MpvPlayer::onEndFile(const mpv_event_end_file& end) {
    if (m_state.entryId == 0 || static_cast<quint64>(end.playlist_entry_id) != m_state.entryId)
        return; // an older media, replaced or released already
    if (end.reason == MPV_END_FILE_REASON_ERROR) {
        failOpen(QString::fromUtf8(mpv_error_string(end.error)));
        return;
    }
    // mpv let go of the media by itself: nothing is open any more
    m_state.reset();
    m_clockMotion = false;
    m_motionTimer.stop();
    refreshBar();
}

void MpvPlayer::failOpen(const QString& reason) {
    QString detail =
        m_state.lastError.isEmpty() ? reason : m_state.lastError + QStringLiteral(" (") + reason + ')';
    // mpv does not say why it could not open a file; the system does ("Permission denied").
    if (const QString unreadable = fileReadProblem(m_url); !unreadable.isEmpty())
        detail = unreadable + QStringLiteral(" (") + detail + ')';
    m_state.reset();
    m_clockMotion = false;
    m_motionTimer.stop();
    m_bar->setStatus(tr("The file could not be played: %1").arg(detail));
    logAndCarryOn(m_log, kOpenSource, [&] {
        raiseError(ErrNo::MediaFailure,
                   QStringLiteral("Cannot play \"%1\": %2").arg(displayFileName(m_url), detail));
    });
    refreshBar();
}
