// Transport controls: play, pause, the scan boxes, the speed slider and full screen.
#include "Transport.h"

#include "Accessibility.h"
#include "Artwork.h"
#include "DesignedLayout.h"
#include "ErrorHandling.h"
#include "MediaPlayer.h"
#include "PedalCommands.h"
#include "ScopeGuard.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

namespace {
using namespace DesignedLayout;
constexpr double kScanForwardRate = 2.0;
constexpr double kScanBackRate = -2.0;

QString procName(const char* name) {
    return SourceModule::frmMain + QLatin1String(name);
}

// The face covers the whole (flat) button, so the face itself shows focus and a held scan button.
QPixmap faceVariant(QPixmap face, QSize faceSize, bool held, bool focused) {
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    if (held) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(QRectF(QPointF(0, 0), QSizeF(faceSize)), QColor(0, 0, 0, 90));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (focused) {
        painter.setPen(QPen(QColor(255, 255, 128), 1));
        painter.drawRoundedRect(QRectF(0.5, 0.5, faceSize.width() - 1, faceSize.height() - 1), 5, 5);
    }
    return face;
}

// A button showing its designed face; the word on the face is what a screen reader says.
QPushButton* faceButton(QWidget* parent, const QString& face, QSize faceSize, bool checkable,
                        const QString& word) {
    auto* button = new QPushButton(parent);
    button->setCheckable(checkable);
    const QPixmap up = Artwork::pixmap(face, faceSize, qApp->devicePixelRatio());
    QIcon icon(up);
    icon.addPixmap(faceVariant(up, faceSize, false, true), QIcon::Active, QIcon::Off);
    if (checkable) {
        icon.addPixmap(faceVariant(up, faceSize, true, false), QIcon::Normal, QIcon::On);
        icon.addPixmap(faceVariant(up, faceSize, true, true), QIcon::Active, QIcon::On);
    }
    button->setIcon(icon);
    button->setIconSize(faceSize);
    button->setFlat(true);
    button->setAccessibleName(word);
    Accessibility::clickOnEnter(button);
    return button;
}
} // namespace

Transport::Transport(QWidget* window, AppLog& log) : QObject(window), m_log(log), m_window(window) {
    build(window);
}

void Transport::build(QWidget* window) {
    // The four face buttons along one row: scan back, pause, play, scan forward.
    const struct {
        QPushButton* Transport::*button;
        const char* name;
        int left, width, height;
        const char* face;
        QSize faceSize;
        const char* word;
        bool scanBox;
    } faces[] = {
        {&Transport::chkScanBack, "chkScanBack", 5310, 1005, 330, "btn_rew", {61, 19}, "rew", true},
        {&Transport::cmbPause, "cmbPause", 6435, 1035, 345, "btn_pause", {69, 20}, "pause", false},
        {&Transport::cmbPlay, "cmbPlay", 7560, 1035, 345, "btn_play", {69, 20}, "play", false},
        {&Transport::chkScanForward, "chkScanForward", 8685, 1005, 330, "btn_ff", {61, 19}, "ff", true},
    };
    for (const auto& f : faces)
        this->*f.button =
            place(faceButton(window, QLatin1String(f.face), f.faceSize, f.scanBox, QLatin1String(f.word)),
                  f.name, f.left, 1980, f.width, f.height);
    chkScanBack->setAccessibleDescription(QStringLiteral("Scan back"));
    cmbPause->setToolTip(QStringLiteral("Pause/Resume Playback"));
    cmbPlay->setToolTip(QStringLiteral("Play/Resume"));
    chkScanForward->setAccessibleDescription(QStringLiteral("Scan forward"));

    QLabel* Label2 = place(new QLabel(QStringLiteral("-  Speed  +"), window), "Label2", 8865, 2565, 870, 195);
    setTextColour(Label2, Yellow);
    sldRate = place(new QSlider(Qt::Horizontal, window), "sldRate", 8775, 2880, 960, 480);
    sldRate->setTickPosition(QSlider::TicksBelow);
    sldRate->setPageStep(1);
    sldRate->setAccessibleName(QStringLiteral("Speed"));
    Label2->setBuddy(sldRate);

    cmbFullScreen = place(new QToolButton(window), "cmbFullScreen", 8820, 4050, 915, 780);
    cmbFullScreen->setText(QStringLiteral("Full Screen"));
    cmbFullScreen->setToolTip(QStringLiteral("Full Screen Playback"));
    cmbFullScreen->setIcon(Artwork::icon(QStringLiteral("icon_monitor")));
    cmbFullScreen->setIconSize(QSize(32, 32));
    cmbFullScreen->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    cmbFullScreen->hide();
    Accessibility::clickOnEnter(cmbFullScreen);
}

void Transport::loadDefaults() {
    {
        // Set up in code, not clicked: the slider's click does not run.
        const QSignalBlocker quiet(sldRate);
        sldRate->setRange(0, 2);
        sldRate->setValue(1);
    }
    m_playRate = 1.0;
}

MediaPlayer& Transport::player() const {
    if (!m_player)
        raiseObjectNotSet();
    return *m_player;
}

// A change made in code runs the box's click at once, nested here, so that its errors reach the
// procedure that made the change; writing the value it has runs nothing.
void Transport::setScanBox(QPushButton* box, bool checked) {
    if (box->isChecked() == checked)
        return;
    {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    box == chkScanBack ? chkScanBack_Click() : chkScanForward_Click();
}

// Unchecked returns to the remembered rate; checked clears the other box first (its own click runs,
// nested) and then scans.
void Transport::scanBoxClicked(QPushButton* box, QPushButton* other, double scanRate) {
    if (!box->isChecked()) {
        player().setRate(m_playRate);
        return;
    }
    setScanBox(other, false);
    player().setRate(scanRate);
}

void Transport::cmbPlay_Click() {
    logAndRaise(m_log, procName(".cmbPlay_Click()"), [&] {
        setScanBox(chkScanBack, false);
        setScanBox(chkScanForward, false);
        MediaPlayer& media = player();
        media.setRate(1.0);
        const int state = media.playState();
        if (state == MediaPlayer::PlayPaused || state == MediaPlayer::PlayStopped ||
            state == MediaPlayer::PlayReady) {
            media.play();
        } else {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const ScopeGuard normalPointer([] { QApplication::restoreOverrideCursor(); });
            m_window->repaint();
        }
    });
}

void Transport::cmbPause_Click() {
    logAndRaise(m_log, procName(".cmbPause_Click()"), [&] {
        MediaPlayer& media = player();
        switch (media.playState()) {
        case MediaPlayer::PlayPlaying:
            media.pause();
            break;
        case MediaPlayer::PlayPaused:
            media.play();
            break;
        case MediaPlayer::PlayScanForward:
        case MediaPlayer::PlayScanReverse:
            if (chkScanForward->isChecked())
                setScanBox(chkScanForward, false);
            else if (chkScanBack->isChecked())
                setScanBox(chkScanBack, false);
            media.pause();
            break;
        default:
            break;
        }
    });
}

void Transport::chkScanBack_Click() {
    logAndRaise(m_log, procName(".chkScanBack_Click()"),
                [&] { scanBoxClicked(chkScanBack, chkScanForward, kScanBackRate); });
}

void Transport::chkScanForward_Click() {
    logAndRaise(m_log, procName(".chkScanForward_Click()"),
                [&] { scanBoxClicked(chkScanForward, chkScanBack, kScanForwardRate); });
}

void Transport::sldRate_Click() {
    logAndRaise(m_log, procName(".sldRate_Click()"), [&] {
        // The slowest position remembers the speed it applies, so a scan that ends returns to it.
        const double rate = Speeds[std::clamp(sldRate->value(), 0, int(std::size(Speeds)) - 1)];
        m_playRate = rate;
        player().setRate(rate);
        emit playRateChanged(rate);
    });
}

void Transport::moveSpeedSlider(int step) {
    sldRate->setValue(step);
    sldRate_Click();
}

void Transport::cmbFullScreen_Click() {
    logAndRaise(m_log, procName(".cmbFullScreen_Click()"), [&] { player().setFullScreen(true); });
}

void Transport::apply(const PedalCommand& command) {
    MediaPlayer& media = player();
    switch (command.kind) {
    case PedalCommand::SetRate:
        media.setRate(command.rate);
        break;
    case PedalCommand::SetPlayRate:
        media.setRate(m_playRate);
        break;
    case PedalCommand::Play:
        media.play();
        break;
    case PedalCommand::Pause:
        media.pause();
        break;
    case PedalCommand::RewindWait:
        break;
    }
}

void Transport::jumpTo(double seconds) {
    player().setCurrentPosition(seconds);
}

void Transport::offerFullScreen(bool offered) {
    cmbFullScreen->setVisible(offered);
}
