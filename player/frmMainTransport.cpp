// Transport controls: play, pause, the scan boxes, the speed slider and full screen.
#include "frmMain.h"

#include "ErrorHandling.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace {
constexpr double kScanForwardRate = 2.0;
constexpr double kScanBackRate = -2.0;

MediaPlayer& mediaOf(const frmMain& window) {
    if (!window.player())
        raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    return *window.player();
}

// Writes a scan box's value from code. A change runs the box's click at once, nested here, so that
// its errors reach the procedure that made the change; writing the value it has runs nothing.
void setScanBox(frmMain& window, QPushButton* box, bool checked, void (frmMain::*click)()) {
    if (box->isChecked() == checked)
        return;
    {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    (window.*click)();
}

// One scan box's click: unchecked returns to the remembered rate; checked clears the other box first
// (its own click runs, nested) and then scans.
void scanBoxClicked(frmMain& window, QPushButton* box, QPushButton* other, void (frmMain::*otherClick)(),
                    double scanRate) {
    if (!box->isChecked()) {
        mediaOf(window).setRate(window.PlayRate);
        return;
    }
    setScanBox(window, other, false, otherClick);
    mediaOf(window).setRate(scanRate);
}

// The busy pointer for as long as it is held.
class BusyPointer {
  public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
} // namespace

void frmMain::cmbPlay_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".cmbPlay_Click()"), [&] {
        setScanBox(*this, chkScanBack, false, &frmMain::chkScanBack_Click);
        setScanBox(*this, chkScanForward, false, &frmMain::chkScanForward_Click);
        MediaPlayer& media = mediaOf(*this);
        media.setRate(1.0);
        const int state = media.playState();
        if (state == MediaPlayer::PlayPaused || state == MediaPlayer::PlayStopped ||
            state == MediaPlayer::PlayReady) {
            media.play();
        } else {
            const BusyPointer busy;
            repaint();
        }
    });
}

void frmMain::cmbPause_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".cmbPause_Click()"), [&] {
        MediaPlayer& media = mediaOf(*this);
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
                setScanBox(*this, chkScanForward, false, &frmMain::chkScanForward_Click);
            else if (chkScanBack->isChecked())
                setScanBox(*this, chkScanBack, false, &frmMain::chkScanBack_Click);
            media.pause();
            break;
        default:
            break;
        }
    });
}

void frmMain::chkScanBack_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".chkScanBack_Click()"), [&] {
        scanBoxClicked(*this, chkScanBack, chkScanForward, &frmMain::chkScanForward_Click, kScanBackRate);
    });
}

void frmMain::chkScanForward_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".chkScanForward_Click()"), [&] {
        scanBoxClicked(*this, chkScanForward, chkScanBack, &frmMain::chkScanBack_Click, kScanForwardRate);
    });
}

void frmMain::sldRate_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".sldRate_Click()"), [&] {
        // The slowest position remembers the speed it applies, so a scan that ends returns to it.
        const int value = sldRate->value();
        const double rate = value == 0 ? 0.75 : value == 1 ? 1.0 : 1.25;
        PlayRate = rate;
        mediaOf(*this).setRate(rate);
    });
}

void frmMain::cmbFullScreen_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".cmbFullScreen_Click()"),
                [&] { mediaOf(*this).setFullScreen(true); });
}
