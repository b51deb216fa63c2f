#pragma once

#include "PlayerServices.h"
#include "SessionData.h"
#include "TickFailures.h"

#include <QSet>
#include <QWidget>
#include <functional>

class ClickableLabel;
class ClockPanel;
class NotesPanel;
class PedalPoll;
class QTimer;
class QTreeWidget;
class Transport;

// The player window. It wires its panels (the clock, the notes, the transport and the pedal poll) to
// the media component; its procedures keep the names the window's events and callers know them by.
class frmMain : public QWidget {
    Q_OBJECT
  public:
    // Where control goes when the window closes: back to the catalogue, or, when the disc holds one
    // session only, out of the program.
    enum class HandBack { ShowCatalogue, EndProgram };

    explicit frmMain(PlayerServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Loads the window (builds it and runs Form_Load) without showing it.
    static frmMain* load(PlayerServices services);
    // Opens a session: gives the media component the file, waits while it opens (events run meanwhile),
    // then starts the tick and runs Init. False when the window went, or `abandoned` said so, during the
    // wait. Whatever fails stops everything before the error is raised: nothing plays unseen.
    bool openSession(const SessionData& session, HandBack handBack, int openWaitMs,
                     const std::function<bool()>& abandoned);
    // Stops everything and hands back (Form_Unload), then destroys the window later; safe to call
    // more than once.
    void unload();
    bool isUnloading() const { return m_unloading; }

    // Lifecycle
    void Form_Load();
    void Init(const QString& TitleName, const SessionData& session);
    void Form_Unload();
    // Notes document
    void LoadXML(QTreeWidget* ListNotes);
    // Digit clock
    void SetClock(const QDateTime& NewDateTime, bool MilitaryTime);

    // Events
    void Timer1_Timer();
    void lvNotes_DblClick();
    void picMain_Click();
    void lblMin_Click();
    void tmrFoot_Timer();

    // Window size in twips, outer frame included, as the designed window measures it.
    int widthTwips() const;
    int heightTwips() const;
    void setWidthTwips(int twips);
    void setHeightTwips(int twips);

    MediaPlayer* player() const { return m_player; }
    const SessionData& session() const { return m_session; }
    bool overlayMode() const { return m_overlayMode; }
    Transport& transport() const { return *m_transport; }
    ClockPanel& clock() const { return *m_clock; }
    NotesPanel& notes() const { return *m_notes; }
    PedalPoll& pedalPoll() const { return *m_pedalPoll; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Strict: the first failure ends the sequence and is raised. Lenient: every step runs whatever
    // failed before it, for paths that are failing already.
    enum class Failures { Raise, Skip };
    // The desktop's media controls, the tick, the pedal poll and the media stop, and the media is
    // released, in that order.
    void stopEverything(Failures failures);
    void handBack(Failures failures);
    void buildLayout();
    void connectEvents();
    QString noStartText() const;
    void logOncePerSession(const QString& source, const QString& description);

    PlayerServices m_services;
    WindowLog m_log;
    TickFailures m_tickFailures;
    MediaPlayer* m_player = nullptr; // its widget is the window's child: deleted with the window
    SessionData m_session;
    QSet<QString> m_loggedInSession;
    HandBack m_handBack = HandBack::ShowCatalogue;
    bool m_overlayMode = false;
    ClickableLabel* lblMin = nullptr;
    ClickableLabel* picMain = nullptr;
    QTimer* Timer1 = nullptr;
    ClockPanel* m_clock = nullptr;
    NotesPanel* m_notes = nullptr;
    Transport* m_transport = nullptr;
    PedalPoll* m_pedalPoll = nullptr;
    std::unique_ptr<MediaControls> m_mediaControls; // while a session is open
    int m_widthTwips = 0;
    int m_heightTwips = 0;
    bool m_unloading = false;
};
