#pragma once

#include "MediaPlayer.h"
#include "VideoDrawing.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

struct mpv_handle;
struct mpv_event;
struct mpv_event_property;
struct mpv_event_end_file;
class MpvVideoWidget;
class MpvControlBar;

// The media component on libmpv: video through mpv's render API and the component's own bar.
std::unique_ptr<MediaPlayer> createMpvPlayer(QWidget* parent);

class MpvPlayer : public QWidget, public MediaPlayer {
    Q_OBJECT
  public:
    explicit MpvPlayer(QWidget* parent = nullptr, VideoDrawing drawing = chooseVideoDrawing());
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    QWidget* widget() override { return this; }
    void setURL(const QByteArray& path) override;
    QByteArray URL() const override { return m_url; }
    int openState() const override { return m_openState; }
    int playState() const override;
    QString versionInfo() const override { return m_version; }
    void play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    void setRate(double rate) override;
    double rate() const override { return m_rate; }
    QString sourceURL() const override;
    void setFullScreen(bool on) override;

    // What the bar shows below the video (tests and the window read it).
    QString statusText() const;
    bool isFullScreenVideo() const;
    // True while negative rates are played by stepping backwards with seeks instead of mpv's decoder;
    // chosen by itself when mpv's backward decoding fails a media, or set for the open media.
    bool emulatesReverse() const { return m_emulateReverse; }
    void setReverseBySeeking(bool on);

  private:
    void createCore();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void onFileLoaded();
    void onEndFile(const mpv_event_end_file& end);
    void onPropertyChange(const mpv_event_property& property);
    void showSilentNote();
    void loadFile(const QByteArray& options);
    void failOpen(const QString& reason);
    void release();
    void recoverReverse();

    void applyRate();
    void updatePlayback();
    void seekTo(double seconds);
    void reverseStep();
    void checkReverseProgress();
    void startEmulatingReverse();
    void onRenderReady(bool ready);
    void refreshBar();
    void runFromBar(const std::function<void()>& action);

    bool running() const;
    void command(std::initializer_list<const char*> args, const char* what);
    void setFlag(const char* name, bool value);
    void setDouble(const char* name, double value);
    void setText(const char* name, const char* value);
    double readDouble(const char* name, double fallback) const;

    mpv_handle* m_mpv = nullptr;
    MpvVideoWidget* m_video = nullptr;
    QWidget* m_videoHolder = nullptr;
    MpvControlBar* m_bar = nullptr;
    QString m_version;
    QByteArray m_directionProperty; // mpv renamed play-dir later; only this class knows the name

    QByteArray m_url;
    quint64 m_entryId = 0; // the playlist entry of the open media; events of older entries are ignored
    quint64 m_loadingEntry = 0;
    int m_openState = OpenNoMedia;
    bool m_paused = false;
    bool m_stopped = false;
    bool m_atEnd = false;
    bool m_hasVideo = false;
    bool m_silent = false;
    bool m_recovering = false;
    double m_rate = 1.0;
    double m_duration = 0.0;
    mutable double m_lastPosition = 0.0;
    std::optional<double> m_pendingSeek;
    QString m_lastError;

    // Backward play: mpv's own reverse decoding, watched, or timed backward seeks where it fails.
    static constexpr double kReverseGrace = 2.0;     // seconds mpv gets to start going backwards
    static constexpr double kReverseMinShare = 0.35; // of the distance the rate asks for
    bool m_emulateReverse = false;
    bool m_backwardApplied = false;
    QTimer m_reverseTimer;
    QElapsedTimer m_reverseClock;
    double m_reverseAnchor = 0.0;
    bool m_reverseWatched = false;
    QTimer m_barTimer;
    std::atomic<bool> m_drainQueued = false;
};
