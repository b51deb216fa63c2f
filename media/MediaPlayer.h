#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

// What the program uses of the embedded media component. A failing call raises a QuillonError.
class MediaPlayer {
  public:
    // openState
    static constexpr int OpenNoMedia = 0;
    static constexpr int OpenOpening = 12;
    static constexpr int OpenOpen = 13;
    // playState
    static constexpr int PlayStopped = 1;
    static constexpr int PlayPaused = 2;
    static constexpr int PlayPlaying = 3;
    static constexpr int PlayScanForward = 4;
    static constexpr int PlayScanReverse = 5;
    static constexpr int PlayOpening = 9;
    static constexpr int PlayReady = 10;

    virtual ~MediaPlayer() = default;

    // The widget placed as MPlayer (video and the component's own control bar); null for fakes.
    virtual QWidget* widget() = 0;

    // URL: a local file path as exact bytes; writing opens it (and plays: autoStart), empty releases.
    virtual void setURL(const QByteArray& path) = 0;
    virtual QByteArray URL() const = 0;
    virtual int openState() const = 0;
    virtual int playState() const = 0;
    // "9." followed by the engine's version; empty when the engine is unusable.
    virtual QString versionInfo() const = 0;

    // controls
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0; // an exact seek

    // settings.rate: positive plays forward at that speed, negative plays backwards.
    virtual void setRate(double rate) = 0;
    virtual double rate() const = 0;

    // currentMedia.sourceURL: the open media's name; empty when none.
    virtual QString sourceURL() const = 0;

    virtual void setFullScreen(bool on) = 0;

    // Change notification, so that a window follows the player instead of asking it on a timer: the
    // listener runs on the GUI thread from the event loop (never inside a call the program makes),
    // after openState, playState, rate or sourceURL changed and whenever the position moved (played,
    // sought or stepped), several changes at once making one call. Every read above answers at once.
    // One listener; an empty one stops the calls.
    using ChangeListener = std::function<void()>;
    virtual void setChangeListener(ChangeListener listener) = 0;
};

// How the program gets its media component, and the engine's version before any is made.
struct MediaFactory {
    std::function<std::unique_ptr<MediaPlayer>(QWidget* parent)> create;
    // "9." followed by the engine's version; empty when the engine is unusable.
    std::function<QString()> versionInfo;
};
