#pragma once

#include <QObject>
#include <QString>
#include <functional>

class AppLog;
class PedalDevices;
class QLineEdit;
class QTimer;
class QWidget;
class Transport;

// The foot pedal poll (tmrFoot, every 200 ms): button edges become play, pause and rate commands on the
// transport the on-screen controls drive.
class PedalPoll : public QObject {
  public:
    using Wait = std::function<void(const std::function<bool()>& done, int timeoutMs)>;
    // `windowGone` says whether the window is closing; the rewind wait lets events run meanwhile.
    PedalPoll(QWidget* window, Transport& transport, PedalDevices& pedal, AppLog& log, Wait wait,
              std::function<bool()> windowGone);

    // The poll runs only while there is a pedal to poll.
    void arm();
    void stop();
    bool isRunning() const;
    void tmrFoot_Timer();

  private:
    Transport& m_transport;
    PedalDevices& m_pedal;
    AppLog& m_log;
    Wait m_wait;
    std::function<bool()> m_windowGone;
    QTimer* tmrFoot = nullptr;
    QLineEdit* txtButtons = nullptr;
    QString LastButtons;
};
