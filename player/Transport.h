#pragma once

#include <QObject>

class AppLog;
class MediaPlayer;
struct PedalCommand;
class QPushButton;
class QSlider;
class QToolButton;
class QWidget;

// The transport: play, pause, the two scan boxes, the speed slider and full screen, and the rate the
// player returns to when a scan ends. The buttons, the slider and the pedal all drive the player
// through it.
class Transport : public QObject {
    Q_OBJECT
  public:
    Transport(QWidget* window, AppLog& log);

    // The player driven; null leaves every command raising "object not set".
    void setPlayer(MediaPlayer* player) { m_player = player; }
    // The window's load: the slider in its middle and the normal rate remembered.
    void loadDefaults();

    // The controls' clicks.
    void cmbPlay_Click();
    void cmbPause_Click();
    void chkScanBack_Click();
    void chkScanForward_Click();
    void sldRate_Click();
    void cmbFullScreen_Click();

    // The speed slider's speeds, slowest first.
    static constexpr double Speeds[] = {0.75, 1.0, 1.25};
    // Moves the speed slider to a step as the user does: its click runs.
    void moveSpeedSlider(int step);

    // The remembered rate: 1.0 at load, the slider's speed after a slider click.
    double PlayRate() const { return m_playRate; }
    // What the pedal asks: a rate of its own, the remembered rate, play or pause (its waits are its own).
    void apply(const PedalCommand& command);
    // A note jump: an exact seek that neither starts nor pauses playback.
    void jumpTo(double seconds);
    // Full screen is offered for video sessions only.
    void offerFullScreen(bool offered);

  signals:
    // The slider's click ran: a new remembered rate.
    void playRateChanged(double rate);

  private:
    void build(QWidget* window);
    MediaPlayer& player() const;
    // Writes a scan box's value from code; a change runs its click, nested here.
    void setScanBox(QPushButton* box, bool checked);
    void scanBoxClicked(QPushButton* box, QPushButton* other, double scanRate);

    AppLog& m_log;
    QWidget* m_window;
    MediaPlayer* m_player = nullptr;
    double m_playRate = 1.0;
    QPushButton* chkScanBack = nullptr;
    QPushButton* cmbPause = nullptr;
    QPushButton* cmbPlay = nullptr;
    QPushButton* chkScanForward = nullptr;
    QSlider* sldRate = nullptr;
    QToolButton* cmbFullScreen = nullptr;
};
