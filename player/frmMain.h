#pragma once

#include "CatalogueLink.h"
#include "MediaPlayer.h"

#include <QByteArray>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class ClickableLabel;
class PedalDevices;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;
class QTreeWidget;
class QuillonError;

struct NotesContent;

// What the player window is built with: the media component, the catalogue and the pedal.
struct PlayerServices {
    std::function<std::unique_ptr<MediaPlayer>(QWidget* parent)> createMediaPlayer;
    CatalogueLink* catalogue = nullptr;
    PedalDevices* pedal = nullptr; // null: the program's pedalDevices()
    // Lets events run until `done` or the time is up (the pedal's rewind wait); empty: the real wait.
    std::function<void(const std::function<bool()>& done, int timeoutMs)> waitRunningEvents = {};
};

// The player window. Its procedures keep the names the windows' events and callers know them by;
// they are spread over frmMain*.cpp by concern.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(PlayerServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Loads the window (builds it and runs Form_Load) without showing it.
    static frmMain* load(PlayerServices services);
    // Opens a session: gives the media component the file, waits while it opens (events run meanwhile),
    // then starts the tick and runs Init. False when the window went, or `abandoned` said so, during the
    // wait. Whatever fails stops everything before the error is raised: nothing plays unseen.
    bool openSession(const QString& TitleName, const QString& Filename, const QByteArray& FileBytes,
                     int openWaitMs, const std::function<bool()>& abandoned);
    // Stops everything and hands back to the catalogue (Form_Unload), then destroys the window later;
    // safe to call more than once.
    void unload();
    bool isUnloading() const { return m_unloading; }

    // Lifecycle
    void Form_Load();
    void Init(const QString& TitleName, const QString& Filename, const QByteArray& FileBytes = {});
    void Form_Unload();

    // Notes document
    void LoadXML(QTreeWidget* ListNotes);

    // Digit clock
    void SetClock(const QDateTime& NewDateTime, bool MilitaryTime);

    // Events
    void Timer1_Timer();
    void lvNotes_DblClick();
    void cmbPlay_Click();
    void cmbPause_Click();
    void chkScanBack_Click();
    void chkScanForward_Click();
    void sldRate_Click();
    void cmbFullScreen_Click();
    void picMain_Click();
    void lblMin_Click();
    void tmrFoot_Timer();
    // Init's last step: tmrFoot runs only while there is a pedal to poll.
    void armPedalPoll();

    // Window size in twips, outer frame included, as the designed window measures it.
    int widthTwips() const;
    int heightTwips() const;
    void setWidthTwips(int twips);
    void setHeightTwips(int twips);

    MediaPlayer* player() const { return m_player; }
    const PlayerServices& services() const { return m_services; }

    // State
    QString CurrentFilename;
    QByteArray CurrentFileBytes; // exact name on disc, for opening files beside it
    double PlayRate = 1.0;
    bool OverlayMode = false;
    QString LastButtons;

    // Controls (object names as designed)
    QWidget* MPlayer = nullptr;
    ClickableLabel* lblMin = nullptr;
    ClickableLabel* picMain = nullptr;
    QLabel* picClockFrame = nullptr;
    QPushButton* chkScanBack = nullptr;
    QPushButton* cmbPause = nullptr;
    QPushButton* cmbPlay = nullptr;
    QPushButton* chkScanForward = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QTreeWidget* lvData = nullptr;
    QSlider* sldRate = nullptr;
    QToolButton* cmbFullScreen = nullptr;
    QTreeWidget* lvNotes = nullptr;
    QLineEdit* txtButtons = nullptr;
    QLabel* lblSessionDate = nullptr;
    QLabel* lblDate = nullptr;
    std::array<QLabel*, 6> picClock{};
    QLabel* Picture3 = nullptr;
    QLabel* Picture4 = nullptr;
    QLabel* lblPM = nullptr;
    QLabel* lblStartTime = nullptr;
    QLabel* lblEndTime = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* tmrFoot = nullptr;
    QVector<QPixmap> ilTime; // eleven images, index 1 to 11 at [0] to [10]

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A failing tick is shown and logged the first time its error comes in a session; repeats are
    // counted and their number logged when the window stops.
    struct TickFailure {
        qint32 number;
        QString description;
        int repeats;
    };
    void reportTickFailure(const QuillonError& error, const QStringList& logLines);
    void logTickRepeats();

    // Strict: the first failure ends the sequence and is raised. Lenient: every step runs whatever
    // failed before it, for paths that are failing already.
    enum class Failures { Raise, Skip };
    // The tick, the pedal poll and the media stop, and the media is released, in that order.
    void stopEverything(Failures failures);
    // One session on the disc: the program ends with the player; otherwise the catalogue shows again.
    void handBack(Failures failures);
    void buildLayout();
    void connectEvents();

    // Notes document: InitMetaData takes what the reader found, or nothing without a document.
    void InitMetaData(const NotesContent* content);

    // Digit clock
    void SetDate(const QDate& date);
    void SetTime(const QTime& time, bool MilitaryTime);

    PlayerServices m_services;
    MediaPlayer* m_player = nullptr; // its widget is the window's child: deleted with the window
    std::vector<TickFailure> m_tickFailures;
    int m_widthTwips = 9930;
    int m_heightTwips = 7500;
    bool m_unloading = false;
};
