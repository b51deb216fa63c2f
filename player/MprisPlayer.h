#pragma once

#include "MediaControls.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <memory>

class MediaPlayer;
class QSlider;

// The player window as an MPRIS 2 media player. A call runs the procedure of the matching control
// (the play and pause buttons, the speed slider, the media's stop, a note's exact jump); what the
// desktop reads is the media component's state as it is now.
class MprisPlayer : public QObject, public MediaControls {
    Q_OBJECT
  public:
    MprisPlayer(frmMain& window, AppLog& log, MessageBoxes& messages);
    ~MprisPlayer() override;

    // Puts the player's object on the bus and takes its name; a second player takes its own instance
    // name. False (and logged) when the bus takes neither.
    bool registerOn(const QDBusConnection& bus);
    QString busName() const { return m_busName; }

    void refresh() override;

    // What the desktop calls. A failing procedure is logged and shown as the on-screen control's
    // failure is, and raised to the caller.
    void Raise();
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Seek(qint64 offsetUs);
    void SetPosition(const QDBusObjectPath& trackId, qint64 positionUs);
    void setRate(double rate);
    void setVolume(double volume);

    // What the desktop reads; a media call that fails reads as nothing playing.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qint64 position() const;
    double rate() const;
    double volume() const;
    bool canPlay() const; // a media is open: play, pause and seek
    static double minimumRate();
    static double maximumRate();

  signals:
    // Properties of the player interface whose values changed.
    void propertiesChanged(const QString& interface, const QVariantMap& changed);
    // The position moved otherwise than playback moves it (a seek, a note jump, a stop).
    void seeked(qint64 positionUs);

  private:
    MediaPlayer* media() const;
    QSlider* barSlider(const char* name) const;
    double length() const;
    QDBusObjectPath trackId() const;
    QVariantMap playerProperties() const;
    // Runs a call's body under procName (empty: the procedure traps its own errors) and tells the
    // desktop what it changed.
    void act(const QString& procName, const std::function<void()>& body);
    void jumpTo(double seconds);
    void noticeJump();

    frmMain& m_window;
    AppLog& m_log;
    MessageBoxes& m_messages;
    QDBusConnection m_bus{QString()};
    QString m_busName;
    QVariantMap m_shown; // what the desktop was last told
    double m_lastPosition = 0.0;
    double m_lastRate = 0.0; // 0 when nothing moved
    QElapsedTimer m_sinceLast;
    // Shared with the message on its way, which may outlive the player.
    std::shared_ptr<bool> m_showingError = std::make_shared<bool>(false);
};
