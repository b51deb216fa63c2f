#pragma once

// The two MPRIS 2 interfaces of the player's object on the bus, each a thin face of MprisPlayer.
#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>
#include <functional>

class MprisPlayer;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ no)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
  public:
    explicit MprisRootAdaptor(MprisPlayer* player);
    bool no() const { return false; }
    bool yes() const { return true; }
    QString identity() const { return QStringLiteral("Vantrel Quillon"); }
    QStringList none() const { return {}; }

  public slots:
    void Raise();
    void Quit() {} // the player ends only as its windows do

  private:
    MprisPlayer& m_player;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(bool CanGoNext READ no)
    Q_PROPERTY(bool CanGoPrevious READ no)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPlay)
    Q_PROPERTY(bool CanSeek READ canPlay)
    Q_PROPERTY(bool CanControl READ yes)
  public:
    explicit MprisPlayerAdaptor(MprisPlayer* player);
    QString playbackStatus() const;
    double rate() const;
    void setRate(double rate);
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    double minimumRate() const;
    double maximumRate() const;
    bool canPlay() const;
    bool no() const { return false; }
    bool yes() const { return true; }

  public slots:
    void Next() {} // a session is one track
    void Previous() {}
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString&) {} // plays only its own disc

  signals:
    void Seeked(qlonglong Position);

  private:
    // A failed call answers the caller with the error (the player has logged and shown it).
    void answer(const std::function<void()>& call);
    // A property write has no answer to carry an error.
    void quietly(const std::function<void()>& call);

    MprisPlayer& m_player;
};
