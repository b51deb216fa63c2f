#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

// The component's own control bar: play/pause, stop, seek slider, elapsed and total time, volume, mute,
// and a line that says why nothing plays (or plays silently).
class MpvControlBar : public QWidget {
    Q_OBJECT
  public:
    explicit MpvControlBar(QWidget* parent);

    void setTimes(double position, double duration);
    void setPlaying(bool playing);
    void setStatus(const QString& text);
    QString status() const;
    bool isMuted() const;

  public slots:
    // As a click on the mute button: the button shows it and muteToggled says it.
    void setMuted(bool muted);

  signals:
    void playPauseClicked();
    void stopClicked();
    void seekRequested(double seconds);
    void volumeChanged(int volume);
    void muteToggled(bool muted);

  private:
    void requestSeek();

    QToolButton* m_playPause;
    QToolButton* m_stop;
    QToolButton* m_mute;
    QSlider* m_seek;
    QSlider* m_volume;
    QLabel* m_elapsed;
    QLabel* m_total;
    QLabel* m_status;
    bool m_playing = false;
};
