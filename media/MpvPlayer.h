#pragma once

#include "MediaPlayer.h"
#include "MpvCore.h"
#include "PlaybackState.h"
#include "SeekMotion.h"
#include "VideoDrawing.h"

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

class AppLog;
struct mpv_event;
struct mpv_event_property;
struct mpv_event_end_file;
class MpvVideoWidget;
class MpvControlBar;

// The media component on libmpv: video through mpv's render API and the component's own bar. What
// goes wrong where no caller hears of it (the bar, mpv's events) is logged to `log`.
MediaFactory mpvMediaFactory(AppLog& log);

// Wires the engine, the playback state, motion by the clock, the video and the bar together.
class MpvPlayer : public QWidget, public MediaPlayer {
    Q_OBJECT
  public:
    explicit MpvPlayer(AppLog& log, QWidget* parent = nullptr, VideoDrawing drawing = chooseVideoDrawing());
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    QWidget* widget() override { return this; }
    void setURL(const QByteArray& path) override;
    QByteArray URL() const override { return m_url; }
    int openState() const override { return m_state.openState; }
    int playState() const override { return m_state.playState(); }
    QString versionInfo() const override;
    void play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    void setRate(double rate) override;
    double rate() const override { return m_state.rate; }
    QString sourceURL() const override;
    void setFullScreen(bool on) override;
    void setChangeListener(ChangeListener listener) override { m_listener = std::move(listener); }

    // Where the engine's own clock is, which the reported position may lead while it catches up.
    double enginePosition() const { return m_core.readDouble("time-pos", 0.0); }
    // A numeric property read from the engine itself, waiting for it (tests and benchmarks).
    double engineValue(const char* name) const { return m_core.readDouble(name, -1.0); }
    // What the bar shows below the video (tests and the window read it).
    QString statusText() const;
    bool isFullScreenVideo() const;

  private:
    // events (MpvPlayerEvents.cpp)
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void onFileLoaded();
    void onEndFile(const mpv_event_end_file& end);
    void onPropertyChange(const mpv_event_property& property);
    void onTracks(const mpv_event_property& property);
    void onReply(const mpv_event& event);
    void showSilentNote();
    void noticeNothingToPlay();
    void failOpen(const QString& reason);

    void release();
    void updatePlayback();
    void seekTo(double seconds);
    // Backward and fast play: a step of the clock's motion, and its end where the clock says.
    void motionStep();
    void settleMotion();
    void onRenderReady(bool ready);
    void refreshBar();
    // Tells the listener, once the event loop runs again.
    void announce();
    // The bar, timers and mpv's events run from the event loop: no error may leave them. An error is
    // shown in the bar and logged under source; what the user did not ask for logs a repeat once.
    // The bar shows the outcome unless told not to.
    void guarded(const QString& source, const std::function<void()>& action, bool byUser = true,
                 bool refresh = true);

    AppLog& m_log;
    std::atomic<bool> m_drainQueued = false; // before the core: its first wake-up comes at once
    bool m_announceQueued = false;
    ChangeListener m_listener;
    MpvCore m_core;
    PlaybackState m_state;
    SeekMotion m_motion;
    MpvVideoWidget* m_video = nullptr;
    QWidget* m_videoHolder = nullptr;
    MpvControlBar* m_bar = nullptr;
    QByteArray m_url;
    quint64 m_loadingEntry = 0; // the entry mpv is loading: its file-loaded event says nothing else
    bool m_silent = false;
    bool m_clockMotion = false; // the position follows m_motion
    QString m_lastLogged;

    QTimer m_motionTimer;
    QTimer m_barTimer;
};
