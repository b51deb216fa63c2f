#include "MpvPlayer.h"

#include "ErrorHandling.h"
#include "MpvControlBar.h"
#include "MpvVideoWidget.h"
#include "Platform.h"
#include "QuillonError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <mpv/client.h>
#include <utility>
#include <vector>

namespace {
const QString kOpenSource = QStringLiteral("Quillon502.MPlayer.Open()");

// Set before mpv_initialize: no configuration, scripts or side files are read and nothing is written.
// An option this libmpv does not know stands for a feature it does not have, so it is skipped.
constexpr std::pair<const char*, const char*> kLockedDown[] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-builtin-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"audio-file-auto", "no"},
    {"sub-auto", "no"},
    {"cover-art-auto", "no"},
    {"autoload-files", "no"},
    {"access-references", "no"},
    {"osd-level", "0"},
    {"hr-seek", "yes"},
    {"keep-open", "yes"},
    {"idle", "yes"},
    // The desktop's sound servers only: probing SDL's audio leaks, and JACK may start a server.
    {"ao", "pipewire,pulse,alsa"},
    {"audio-fallback-to-null", "yes"},
    {"volume", "50"},
    {"terminal", "no"},
    // later libmpv versions cache shaders on disk unless told not to
    {"gpu-shader-cache", "no"},
    {"icc-cache", "no"},
    {"vo", "libmpv"},
    {"demuxer-max-back-bytes", "16MiB"}, // played data kept for going back: plenty, and memory stays flat
    {"mute", "no"},
    {"speed", "1"},
};

constexpr double kScanThreshold = 1.25; // faster than this counts as scanning forward

void check(int rc, const char* what) {
    if (rc < 0)
        raiseError(ErrNo::MediaFailure, QStringLiteral("%1 (%2)").arg(QString::fromUtf8(mpv_error_string(rc)),
                                                                      QLatin1String(what)));
}

// The video's GL drivers cache compiled shaders under the user's cache folder; the program writes no
// files, so both caches are turned off before the first GL context exists (and before mpv's threads).
// Without a sound card or a sound server there is nothing to probe: the silent output at once, so
// opening stays quick and no sound library is loaded in vain.
bool soundOutputLikely() {
    const QDir cards(QStringLiteral("/dev/snd"));
    if (cards.exists() && !cards.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot).isEmpty())
        return true;
    if (qEnvironmentVariableIsSet("PULSE_SERVER") || qEnvironmentVariableIsSet("PIPEWIRE_REMOTE"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && (QFileInfo::exists(runtime + QStringLiteral("/pipewire-0")) ||
                                  QFileInfo::exists(runtime + QStringLiteral("/pulse/native")));
}

void keepShadersOffDisk() {
    static const bool done = [] {
        QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
        if (!qEnvironmentVariableIsSet("MESA_SHADER_CACHE_DISABLE"))
            qputenv("MESA_SHADER_CACHE_DISABLE", "true");
        return true;
    }();
    (void)done;
}

[[noreturn]] void engineMissing() {
    raiseError(ErrNo::MediaFailure, QStringLiteral("The media engine could not be started"));
}
} // namespace

std::unique_ptr<MediaPlayer> createMpvPlayer(QWidget* parent) {
    return std::make_unique<MpvPlayer>(parent);
}

MpvPlayer::MpvPlayer(QWidget* parent, VideoDrawing drawing) : QWidget(parent) {
    setObjectName(QStringLiteral("MPlayer"));
    keepShadersOffDisk();
    createCore();

    m_videoHolder = new QWidget(this);
    m_videoHolder->setObjectName(QStringLiteral("MPlayerScreen"));
    m_videoHolder->setStyleSheet(QStringLiteral("background: black"));
    auto* holderLayout = new QVBoxLayout(m_videoHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_video = new MpvVideoWidget(m_mpv, drawing, m_videoHolder);
    holderLayout->addWidget(m_video);
    m_bar = new MpvControlBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_videoHolder, 1);
    layout->addWidget(m_bar);

    connect(m_video, &MpvVideoWidget::renderReadyChanged, this, &MpvPlayer::onRenderReady);
    connect(m_video, &MpvVideoWidget::leaveFullScreen, this,
            [this] { runFromBar([this] { setFullScreen(false); }); });
    connect(m_bar, &MpvControlBar::playPauseClicked, this,
            [this] { runFromBar([this] { running() ? pause() : play(); }); });
    connect(m_bar, &MpvControlBar::stopClicked, this, [this] { runFromBar([this] { stop(); }); });
    connect(m_bar, &MpvControlBar::seekRequested, this,
            [this](double seconds) { runFromBar([this, seconds] { setCurrentPosition(seconds); }); });
    connect(m_bar, &MpvControlBar::volumeChanged, this, [this](int volume) {
        runFromBar([this, volume] {
            if (m_mpv)
                setDouble("volume", volume);
        });
    });
    connect(m_bar, &MpvControlBar::muteToggled, this, [this](bool muted) {
        runFromBar([this, muted] {
            if (m_mpv)
                setFlag("mute", muted);
        });
    });

    m_reverseTimer.setInterval(100);
    m_reverseTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_reverseTimer, &QTimer::timeout, this, [this] { runFromBar([this] { reverseStep(); }); });
    m_barTimer.setInterval(250);
    connect(&m_barTimer, &QTimer::timeout, this, [this] { runFromBar([] {}); });

    if (!m_mpv)
        m_bar->setStatus(tr("The media engine could not be started"));
}

MpvPlayer::~MpvPlayer() {
    m_barTimer.stop();
    m_reverseTimer.stop();
    if (m_video) {
        disconnect(m_video, nullptr, this, nullptr);
        m_video->releaseRenderContext(); // before the core goes, with its GL context current
        delete m_video;                  // also when it is a full-screen window of its own
        m_video = nullptr;
    }
    if (m_mpv) {
        mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
    }
}

void MpvPlayer::createCore() {
    m_mpv = mpv_create();
    if (!m_mpv)
        return;
    bool usable = true;
    for (const auto& [name, value] : kLockedDown) {
        const int rc = mpv_set_option_string(m_mpv, name, value);
        if (rc < 0 && rc != MPV_ERROR_OPTION_NOT_FOUND)
            usable = false;
    }
    if (!soundOutputLikely())
        mpv_set_option_string(m_mpv, "ao", "null");
    if (!usable || mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    for (const char* name : {"play-dir", "direction"}) {
        if (char* value = mpv_get_property_string(m_mpv, name)) {
            mpv_free(value);
            m_directionProperty = name;
            break;
        }
    }
    if (char* version = mpv_get_property_string(m_mpv, "mpv-version")) {
        const auto match =
            QRegularExpression(QStringLiteral("\\d+(\\.\\d+)*")).match(QString::fromUtf8(version));
        if (match.hasMatch() && !m_directionProperty.isEmpty())
            m_version = QStringLiteral("9.") + match.captured(0);
        mpv_free(version);
    }
    mpv_request_log_messages(m_mpv, "warn");
    mpv_observe_property(m_mpv, 0, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, 0, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, 0, "current-ao", MPV_FORMAT_STRING);
    // Runs on one of mpv's threads: only queue a drain on the GUI thread, never call mpv from here.
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* self) {
            auto* player = static_cast<MpvPlayer*>(self);
            if (!player->m_drainQueued.exchange(true))
                QMetaObject::invokeMethod(
                    player, [player] { player->drainEvents(); }, Qt::QueuedConnection);
        },
        this);
}

// ---- the interface

void MpvPlayer::setURL(const QByteArray& path) {
    if (path.isEmpty()) {
        release();
        return;
    }
    if (!m_mpv)
        engineMissing();
    setFullScreen(false);
    m_url = path;
    m_entryId = 0;
    m_paused = m_stopped = m_atEnd = m_hasVideo = m_recovering = m_emulateReverse = m_reverseWatched = false;
    m_duration = m_lastPosition = 0.0;
    m_pendingSeek.reset();
    m_lastError.clear();
    m_reverseTimer.stop();
    m_bar->setStatus(QString());
    m_openState = OpenOpening;
    try {
        setFlag("pause", false);
        if (!m_directionProperty.isEmpty())
            setText(m_directionProperty.constData(), "forward");
        m_backwardApplied = false;
        setDouble("speed", m_rate > 0 ? m_rate : 1.0);
        setText("vid", m_video->renderReady() ? "auto" : "no");
        loadFile(QByteArray());
    } catch (...) {
        m_openState = OpenNoMedia;
        throw;
    }
    m_barTimer.start();
    refreshBar();
}

void MpvPlayer::loadFile(const QByteArray& options) {
    const char* args[] = {"loadfile", m_url.constData(), "replace",
                          options.isEmpty() ? nullptr : options.constData(), nullptr};
    mpv_node result;
    check(mpv_command_ret(m_mpv, args, &result), "loadfile");
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                m_entryId = static_cast<quint64>(result.u.list->values[i].u.int64);
        }
    }
    mpv_free_node_contents(&result);
}

// A released player starts its next media at normal speed, not scanning backwards from the start.
void MpvPlayer::release() {
    setFullScreen(false);
    if (m_mpv && !m_url.isEmpty())
        command({"stop"}, "stop");
    m_url.clear();
    m_entryId = 0;
    m_openState = OpenNoMedia;
    m_paused = m_stopped = m_atEnd = m_hasVideo = m_recovering = m_emulateReverse = m_reverseWatched = false;
    m_rate = 1.0;
    m_duration = m_lastPosition = 0.0;
    m_pendingSeek.reset();
    m_reverseTimer.stop();
    m_barTimer.stop();
    m_bar->setStatus(QString());
    refreshBar();
}

int MpvPlayer::playState() const {
    if (!m_mpv || m_openState == OpenNoMedia)
        return PlayReady;
    if (m_openState == OpenOpening)
        return PlayOpening;
    if (m_stopped)
        return PlayStopped;
    if (m_paused)
        return PlayPaused;
    if (m_rate < 0)
        return PlayScanReverse;
    return m_rate > kScanThreshold ? PlayScanForward : PlayPlaying;
}

void MpvPlayer::play() {
    if (!m_mpv || m_openState == OpenNoMedia)
        return;
    if (m_stopped && m_atEnd && m_rate > 0 && m_openState == OpenOpen)
        seekTo(0.0); // after the end, play starts over
    m_stopped = m_atEnd = m_paused = false;
    updatePlayback();
}

void MpvPlayer::pause() {
    if (!m_mpv || m_openState == OpenNoMedia || m_stopped)
        return;
    m_paused = true;
    updatePlayback();
}

void MpvPlayer::stop() {
    if (!m_mpv || m_openState == OpenNoMedia)
        return;
    m_stopped = true;
    m_paused = m_atEnd = false;
    if (m_openState == OpenOpen)
        seekTo(0.0);
    updatePlayback();
}

double MpvPlayer::currentPosition() const {
    if (!m_mpv || m_openState != OpenOpen)
        return 0.0;
    if (m_pendingSeek)
        return *m_pendingSeek;
    // time-pos strays a little outside the media at its ends
    double position = std::max(0.0, readDouble("time-pos", m_lastPosition));
    if (m_duration > 0)
        position = std::min(position, m_duration);
    m_lastPosition = position;
    return position;
}

void MpvPlayer::setCurrentPosition(double seconds) {
    if (!std::isfinite(seconds))
        raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    if (!m_mpv || m_openState != OpenOpen)
        return;
    const double target = std::clamp(seconds, 0.0, m_duration > 0 ? m_duration : std::max(0.0, seconds));
    seekTo(target);
    m_reverseAnchor = target;
    m_reverseClock.restart();
}

void MpvPlayer::setRate(double rate) {
    if (!std::isfinite(rate) || rate == 0.0)
        raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    m_rate = rate;
    m_reverseWatched = false;
    m_reverseTimer.stop();
    applyRate();
    updatePlayback();
}

QString MpvPlayer::sourceURL() const {
    return m_openState == OpenNoMedia ? QString() : displayFileName(m_url);
}

void MpvPlayer::setFullScreen(bool on) {
    if (!m_video || on == m_video->isWindow())
        return;
    if (on) {
        if (m_openState != OpenOpen || !m_hasVideo)
            return; // nothing to show full screen
        QScreen* screen = window()->screen();
        m_video->setParent(nullptr);
        m_video->setWindowTitle(sourceURL());
        if (screen) // also where no window manager makes full-screen windows fill the screen
            m_video->setGeometry(screen->geometry());
        m_video->showFullScreen();
        m_video->activateWindow();
        m_video->setFocus();
    } else {
        m_video->setParent(m_videoHolder);
        m_videoHolder->layout()->addWidget(m_video);
        m_video->show();
    }
}

QString MpvPlayer::statusText() const {
    return m_bar->status();
}

bool MpvPlayer::isFullScreenVideo() const {
    return m_video && m_video->isWindow();
}

// ---- events from mpv, drained on the GUI thread

void MpvPlayer::drainEvents() {
    m_drainQueued = false;
    while (m_mpv) {
        mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        runFromBar([this, event] { handleEvent(*event); });
    }
}

void MpvPlayer::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        m_loadingEntry =
            static_cast<quint64>(static_cast<mpv_event_start_file*>(event.data)->playlist_entry_id);
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_loadingEntry == m_entryId && m_entryId != 0)
            onFileLoaded();
        break;
    case MPV_EVENT_END_FILE:
        onEndFile(*static_cast<mpv_event_end_file*>(event.data));
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        m_pendingSeek.reset();
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<mpv_event_log_message*>(event.data);
        const QString text = QString::fromUtf8(message->text).trimmed();
        if (message->log_level <= MPV_LOG_LEVEL_ERROR && qstrncmp(message->prefix, "ao", 2) != 0)
            m_lastError = text; // why a media failed; a missing sound device is no reason
        // mpv says so when its backward decoding gets stuck on a file
        if (text.contains(QLatin1String("Backward playback"), Qt::CaseInsensitive) ||
            text.contains(QLatin1String("backward mode"), Qt::CaseInsensitive))
            startEmulatingReverse();
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(*static_cast<mpv_event_property*>(event.data));
        break;
    default:
        break;
    }
}

void MpvPlayer::onPropertyChange(const mpv_event_property& property) {
    const QByteArray name(property.name);
    if (name == "eof-reached") {
        const bool ended = property.format == MPV_FORMAT_FLAG && *static_cast<int*>(property.data);
        if (ended && m_openState == OpenOpen && !m_recovering) {
            m_stopped = true;
            m_paused = false;
            m_atEnd = m_rate > 0; // backwards it ends at the start
            updatePlayback();
        }
    } else if (name == "duration") {
        if (property.format == MPV_FORMAT_DOUBLE)
            m_duration = std::max(0.0, *static_cast<double*>(property.data));
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
    if (m_openState == OpenOpen)
        m_bar->setStatus(m_silent ? tr("No sound device: playing without sound") : QString());
}

void MpvPlayer::onFileLoaded() {
    const bool recovered = m_recovering;
    m_recovering = false;
    m_openState = OpenOpen;
    m_duration = std::max(0.0, readDouble("duration", 0.0));
    m_hasVideo = false;
    const double tracks = readDouble("track-list/count", 0.0);
    for (int i = 0; i < static_cast<int>(tracks); ++i) {
        const QByteArray prefix = "track-list/" + QByteArray::number(i) + "/";
        char* type = mpv_get_property_string(m_mpv, (prefix + "type").constData());
        char* albumArt = mpv_get_property_string(m_mpv, (prefix + "albumart").constData());
        if (qstrcmp(type, "video") == 0 && qstrcmp(albumArt, "yes") != 0)
            m_hasVideo = true;
        mpv_free(type);
        mpv_free(albumArt);
    }
    if (!recovered)
        showSilentNote();
    applyRate();
    updatePlayback();
    refreshBar();
}

void MpvPlayer::onEndFile(const mpv_event_end_file& end) {
    if (m_entryId == 0 || static_cast<quint64>(end.playlist_entry_id) != m_entryId)
        return; // an older media, replaced or released already
    if (end.reason == MPV_END_FILE_REASON_ERROR) {
        if (m_openState == OpenOpen && m_rate < 0 && !m_emulateReverse) {
            recoverReverse();
            return;
        }
        failOpen(QString::fromUtf8(mpv_error_string(end.error)));
        return;
    }
    // mpv let go of the media by itself: nothing is open any more
    m_entryId = 0;
    m_openState = OpenNoMedia;
    m_reverseTimer.stop();
    refreshBar();
}

void MpvPlayer::failOpen(const QString& reason) {
    const QString detail = m_lastError.isEmpty() ? reason : m_lastError + QStringLiteral(" (") + reason + ')';
    m_entryId = 0;
    m_openState = OpenNoMedia;
    m_stopped = m_paused = m_atEnd = m_recovering = false;
    m_duration = 0.0;
    m_reverseTimer.stop();
    m_bar->setStatus(tr("The file could not be played: %1").arg(detail));
    logAndCarryOn(kOpenSource, [&] {
        raiseError(ErrNo::MediaFailure,
                   QStringLiteral("Cannot play \"%1\": %2").arg(displayFileName(m_url), detail));
    });
    refreshBar();
}

// mpv's backward decoding failed the media: open it again where it was and step backwards with seeks.
void MpvPlayer::recoverReverse() {
    m_emulateReverse = true;
    m_recovering = true;
    m_reverseTimer.stop();
    setText(m_directionProperty.constData(), "forward");
    m_backwardApplied = false;
    loadFile("start=" + QByteArray::number(m_lastPosition, 'f', 3) + ",pause=yes");
}

// ---- rates and backward play

void MpvPlayer::applyRate() {
    if (!m_mpv || m_openState != OpenOpen)
        return;
    const bool backward = m_rate < 0 && !m_emulateReverse && !m_directionProperty.isEmpty();
    // every write of the direction makes mpv seek: write it only when it changes
    if (backward != m_backwardApplied) {
        setText(m_directionProperty.constData(), backward ? "backward" : "forward");
        m_backwardApplied = backward;
        // mpv seeks to where it last was when the direction changes, which would undo a seek still on
        // its way (a note jump, then scan back): ask for that seek once more.
        if (m_pendingSeek)
            seekTo(*m_pendingSeek);
    }
    setDouble("speed", m_rate > 0 ? m_rate : (backward ? -m_rate : 1.0));
}

bool MpvPlayer::running() const {
    return (m_openState == OpenOpen || m_openState == OpenOpening) && !m_paused && !m_stopped;
}

void MpvPlayer::updatePlayback() {
    if (!m_mpv)
        return;
    const bool run = running();
    const bool open = m_openState == OpenOpen && !m_recovering;
    const bool emulating = open && run && m_rate < 0 && m_emulateReverse;
    const bool watched = open && run && m_rate < 0 && !m_emulateReverse;
    if (m_openState != OpenNoMedia)
        setFlag("pause", !run || emulating);
    if ((emulating && !m_reverseTimer.isActive()) || (watched && !m_reverseWatched)) {
        m_reverseAnchor = currentPosition();
        m_reverseClock.restart();
    }
    if (emulating)
        m_reverseTimer.start();
    else
        m_reverseTimer.stop();
    m_reverseWatched = watched;
    m_bar->setPlaying(run);
}

void MpvPlayer::seekTo(double seconds) {
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    command({"seek", target.constData(), "absolute+exact"}, "seek");
    m_pendingSeek = seconds;
    m_lastPosition = seconds;
    m_atEnd = false;
}

// One step of emulated backward play: the position follows the wall clock from the anchor.
void MpvPlayer::reverseStep() {
    if (m_pendingSeek)
        return; // the previous step is still being decoded
    const double target = m_reverseAnchor + m_rate * (m_reverseClock.elapsed() / 1000.0);
    if (target <= 0.0) {
        seekTo(0.0);
        m_stopped = true;
        updatePlayback();
        return;
    }
    // Exact steps: key-frame steps would snap back by whole groups of pictures and then forward again.
    // A step waits for the one before, so with long groups of pictures the steps get fewer, not late.
    seekTo(target);
}

// mpv's own backward play is watched: if the position falls far slower than the rate says, seek instead.
void MpvPlayer::checkReverseProgress() {
    if (!m_reverseWatched || m_pendingSeek)
        return;
    const double elapsed = m_reverseClock.elapsed() / 1000.0;
    if (elapsed < kReverseGrace)
        return;
    const double position = currentPosition();
    const double expected = -m_rate * elapsed;
    if (position > 0.5 && m_reverseAnchor - position < kReverseMinShare * expected)
        startEmulatingReverse();
}

void MpvPlayer::setReverseBySeeking(bool on) {
    m_emulateReverse = on;
    m_reverseWatched = false;
    m_reverseTimer.stop();
    applyRate();
    updatePlayback();
}

void MpvPlayer::startEmulatingReverse() {
    if (m_emulateReverse || m_openState != OpenOpen || m_recovering || m_rate >= 0)
        return;
    m_emulateReverse = true;
    m_reverseWatched = false;
    applyRate();
    updatePlayback();
}

// ---- video and bar

void MpvPlayer::onRenderReady(bool ready) {
    // Video can only be drawn while a render context exists; mpv turns it on and off with it.
    if (m_mpv && m_openState != OpenNoMedia)
        skipErrors([&] { setText("vid", ready ? "auto" : "no"); });
}

void MpvPlayer::refreshBar() {
    const bool open = m_openState == OpenOpen;
    m_bar->setTimes(open ? currentPosition() : 0.0, open ? m_duration : 0.0);
    m_bar->setPlaying(running());
    checkReverseProgress();
}

// The bar, timers and mpv's events run from the event loop: no error may leave them.
void MpvPlayer::runFromBar(const std::function<void()>& action) {
    try {
        action();
        refreshBar();
    } catch (...) {
        m_bar->setStatus(currentError().Description);
    }
}

// ---- mpv calls; a failing one raises the media error with mpv's own words

void MpvPlayer::command(std::initializer_list<const char*> args, const char* what) {
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    check(mpv_command(m_mpv, argv.data()), what);
}

void MpvPlayer::setFlag(const char* name, bool value) {
    int flag = value ? 1 : 0;
    check(mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag), name);
}

void MpvPlayer::setDouble(const char* name, double value) {
    check(mpv_set_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value), name);
}

void MpvPlayer::setText(const char* name, const char* value) {
    check(mpv_set_property_string(m_mpv, name, value), name);
}

double MpvPlayer::readDouble(const char* name, double fallback) const {
    double value = 0.0;
    if (!m_mpv || mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value))
        return fallback;
    return value;
}
