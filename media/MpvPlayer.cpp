#include "MpvPlayer.h"

#include "ErrorHandling.h"
#include "MpvContextMenu.h"
#include "MpvControlBar.h"
#include "MpvVideoWidget.h"
#include "Platform.h"
#include "QuillonError.h"

#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
const QString kBarSource = QStringLiteral("Quillon502.MPlayer.");

[[noreturn]] void invalidArgument() {
    raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
}
} // namespace

MediaFactory mpvMediaFactory(AppLog& log) {
    return {[&log](QWidget* parent) -> std::unique_ptr<MediaPlayer> {
                return std::make_unique<MpvPlayer>(log, parent);
            },
            [] {
                const MpvCore engine([] {});
                return engine.version().isEmpty() ? QString() : QStringLiteral("9.") + engine.version();
            }};
}

MpvPlayer::MpvPlayer(AppLog& log, QWidget* parent, VideoDrawing drawing)
    : QWidget(parent), m_log(log),
      // Runs on one of mpv's threads: only queue a drain on the GUI thread, never call mpv from here.
      m_core([this] {
          if (!m_drainQueued.exchange(true))
              QMetaObject::invokeMethod(
                  this, [this] { drainEvents(); }, Qt::QueuedConnection);
      }),
      m_motion(SeekMotion::monotonicClock(), [this](double seconds) { seekTo(seconds); }) {
    setObjectName(QStringLiteral("MPlayer"));
    m_videoHolder = new QWidget(this);
    m_videoHolder->setObjectName(QStringLiteral("MPlayerScreen"));
    m_videoHolder->setStyleSheet(QStringLiteral("background: black"));
    auto* holderLayout = new QVBoxLayout(m_videoHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_video = new MpvVideoWidget(m_core.handle(), drawing, m_videoHolder);
    holderLayout->addWidget(m_video);
    m_bar = new MpvControlBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_videoHolder, 1);
    layout->addWidget(m_bar);

    const auto fromBar = [this](const char* name, std::function<void()> action, bool byUser = true) {
        return [this, source = kBarSource + QLatin1String(name), action = std::move(action), byUser] {
            guarded(source, action, byUser);
        };
    };
    connect(m_video, &MpvVideoWidget::renderReadyChanged, this, &MpvPlayer::onRenderReady);
    connect(m_video, &MpvVideoWidget::leaveFullScreen, this,
            fromBar("FullScreen()", [this] { setFullScreen(false); }));
    connect(m_bar, &MpvControlBar::playPauseClicked, this,
            fromBar("PlayPause_Click()", [this] { m_state.running() ? pause() : play(); }));
    connect(m_bar, &MpvControlBar::stopClicked, this, fromBar("Stop_Click()", [this] { stop(); }));
    connect(m_bar, &MpvControlBar::seekRequested, this, [this](double seconds) {
        guarded(kBarSource + QLatin1String("Seek_Change()"),
                [this, seconds] { setCurrentPosition(seconds); });
    });
    connect(m_bar, &MpvControlBar::volumeChanged, this, [this](int volume) {
        guarded(kBarSource + QLatin1String("Volume_Change()"),
                [this, volume] { m_core.setDouble("volume", volume); });
    });
    connect(m_bar, &MpvControlBar::muteToggled, this, [this](bool muted) {
        guarded(kBarSource + QLatin1String("Mute_Click()"), [this, muted] { m_core.setFlag("mute", muted); });
    });

    // The menu acts through the bar's own commands, so both always agree.
    auto* menu = new MpvContextMenu(this);
    const auto now = [this] {
        return MpvContextMenu::State{m_state.openState != OpenNoMedia, m_state.running(),
                                     m_state.openState == OpenOpen && m_state.hasVideo, isFullScreenVideo(),
                                     m_bar->isMuted()};
    };
    menu->offerOn(m_video, now);
    menu->offerOn(m_bar, now);
    connect(menu, &MpvContextMenu::playPauseChosen, m_bar, &MpvControlBar::playPauseClicked);
    connect(menu, &MpvContextMenu::stopChosen, m_bar, &MpvControlBar::stopClicked);
    connect(menu, &MpvContextMenu::muteChosen, m_bar, &MpvControlBar::setMuted);
    connect(menu, &MpvContextMenu::fullScreenChosen, this, [this](bool on) {
        guarded(kBarSource + QLatin1String("FullScreen()"), [this, on] { setFullScreen(on); });
    });

    m_motionTimer.setInterval(40);
    m_motionTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_motionTimer, &QTimer::timeout, this,
            fromBar(
                "Motion()", [this] { motionStep(); }, false));
    m_barTimer.setInterval(250);
    connect(&m_barTimer, &QTimer::timeout, this,
            fromBar(
                "Tick()", [] {}, false));

    if (!m_core.usable())
        m_bar->setStatus(tr("The media engine could not be started"));
}

MpvPlayer::~MpvPlayer() {
    m_barTimer.stop();
    m_motionTimer.stop();
    disconnect(m_video, nullptr, this, nullptr);
    m_video->releaseRenderContext(); // before the core goes, with its GL context current
    delete m_video;                  // also when it is a full-screen window of its own
    m_video = nullptr;
}

// ---- the interface

QString MpvPlayer::versionInfo() const {
    return m_core.version().isEmpty() ? QString() : QStringLiteral("9.") + m_core.version();
}

void MpvPlayer::setURL(const QByteArray& path) {
    if (path.isEmpty()) {
        release();
        return;
    }
    if (!m_core.usable())
        raiseError(ErrNo::MediaFailure, QStringLiteral("The media engine could not be started"));
    setFullScreen(false);
    m_url = path;
    m_state.reset();
    m_clockMotion = false;
    m_motionTimer.stop();
    m_bar->setStatus(QString());
    m_lastLogged.clear();
    m_state.openState = OpenOpening;
    m_video->clearPicture();
    try {
        m_core.setFlag("pause", false);
        m_core.setDouble("speed", m_state.rate > 0 ? m_state.rate : 1.0);
        m_core.setText("vid", m_video->renderReady() ? "auto" : "no");
        m_state.entryId = m_core.loadFile(m_url);
    } catch (...) {
        m_state.openState = OpenNoMedia;
        throw;
    }
    m_barTimer.start();
    refreshBar();
    announce();
}

// A released player starts its next media at normal speed, not scanning backwards from the start.
void MpvPlayer::release() {
    setFullScreen(false);
    if (!m_url.isEmpty())
        m_core.command({"stop"});
    m_url.clear();
    m_state.reset();
    m_state.rate = 1.0;
    m_clockMotion = false;
    m_motionTimer.stop();
    m_barTimer.stop();
    m_bar->setStatus(QString());
    m_video->clearPicture();
    refreshBar();
    announce();
}

void MpvPlayer::play() {
    if (!m_core.usable() || m_state.openState == OpenNoMedia)
        return;
    if (m_state.stopped && m_state.atEnd && m_state.rate > 0 && m_state.openState == OpenOpen)
        seekTo(0.0); // after the end, play starts over
    m_state.stopped = m_state.atEnd = m_state.paused = false;
    updatePlayback();
}

void MpvPlayer::pause() {
    if (!m_core.usable() || m_state.openState == OpenNoMedia || m_state.stopped)
        return;
    settleMotion();
    m_state.paused = true;
    updatePlayback();
}

void MpvPlayer::stop() {
    if (!m_core.usable() || m_state.openState == OpenNoMedia)
        return;
    settleMotion();
    m_state.stopped = true;
    m_state.paused = m_state.atEnd = false;
    if (m_state.openState == OpenOpen)
        seekTo(0.0);
    updatePlayback();
}

double MpvPlayer::currentPosition() const {
    if (m_state.openState != OpenOpen)
        return 0.0;
    if (m_clockMotion)
        return m_motion.position();
    return m_state.position();
}

void MpvPlayer::setCurrentPosition(double seconds) {
    if (!std::isfinite(seconds))
        invalidArgument();
    if (!m_core.usable() || m_state.openState != OpenOpen)
        return;
    const double end = m_state.duration > 0 ? m_state.duration : std::max(0.0, seconds);
    const double target = std::clamp(seconds, 0.0, end);
    seekTo(target);
    if (m_clockMotion)
        m_motion.anchor(target, m_state.rate, m_state.duration);
}

void MpvPlayer::setRate(double rate) {
    if (!std::isfinite(rate) || rate == 0.0)
        invalidArgument();
    settleMotion(); // the new rate goes on from exactly where the old one was
    m_state.rate = rate;
    // Paused or stopped, the engine takes the rate when play resumes.
    if (m_state.running())
        updatePlayback();
    announce();
}

QString MpvPlayer::sourceURL() const {
    return m_state.openState == OpenNoMedia ? QString() : displayFileName(m_url);
}

void MpvPlayer::setFullScreen(bool on) {
    if (on == m_video->isWindow())
        return;
    if (on && (m_state.openState != OpenOpen || !m_state.hasVideo))
        return; // nothing to show full screen
    // Full screen a small video is scaled up to fill the screen; in the window it keeps its own size.
    m_core.setText("video-unscaled", on ? "no" : "downscale-big");
    if (on) {
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
    return m_video->isWindow();
}

// ---- video and bar

void MpvPlayer::onRenderReady(bool ready) {
    // Video can only be drawn while a render context exists; mpv turns it on and off with it.
    if (m_state.openState != OpenNoMedia)
        skipErrors([&] { m_core.setText("vid", ready ? "auto" : "no"); });
}

void MpvPlayer::refreshBar() {
    const bool open = m_state.openState == OpenOpen;
    if (open)
        m_state.lastPosition = currentPosition();
    m_bar->setTimes(open ? m_state.lastPosition : 0.0, open ? m_state.duration : 0.0);
    m_bar->setPlaying(m_state.running());
}

void MpvPlayer::announce() {
    if (m_announceQueued)
        return;
    m_announceQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_announceQueued = false;
            if (m_listener)
                m_listener();
        },
        Qt::QueuedConnection);
}

void MpvPlayer::guarded(const QString& source, const std::function<void()>& action, bool byUser,
                        bool refresh) {
    try {
        action();
        if (refresh)
            refreshBar();
    } catch (...) {
        const QuillonError error = currentError();
        m_bar->setStatus(error.Description);
        // A timer that fails each time would flood the log: its same error is logged once in a row.
        if (byUser || error.Description != m_lastLogged) {
            m_lastLogged = error.Description;
            logAndCarryOn(m_log, source, [&] { throw error; });
        }
    }
}
