// The player window as designed: the media component, its panels, every control at its place in twips.
#include "frmMain.h"

#include "Accessibility.h"
#include "Artwork.h"
#include "ClickableLabel.h"
#include "ClockPanel.h"
#include "DesignedLayout.h"
#include "NotesPanel.h"
#include "PedalPoll.h"
#include "PlayerGeometry.h"
#include "Transport.h"
#include "Twips.h"

#include <QApplication>
#include <QTimer>

namespace {
using namespace DesignedLayout;
} // namespace

frmMain::frmMain(PlayerServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(std::move(services)), m_log(m_services.log), m_tickFailures(m_log, m_services.messages) {
    buildLayout();
    connectEvents();
}

frmMain::~frmMain() = default;

void frmMain::buildLayout() {
    designWindow(this, "frmMain", QStringLiteral("Vantrel Quillon"),
                 Artwork::icon(QStringLiteral("icon_monitor")));
    setWidthTwips(PlayerGeometry::ExpandedWidth);
    setHeightTwips(PlayerGeometry::HeightWithNotes);

    // The window owns the component through its widget, as it owns every other control.
    if (std::unique_ptr<MediaPlayer> made = m_services.media.create ? m_services.media.create(this) : nullptr;
        made && made->widget()) {
        if (made->widget()->parentWidget() != this)
            made->widget()->setParent(this);
        m_player = made.release();
        // The clock and the desktop follow the player as it changes; the 500 ms tick stays as the designed
        // beat. Only while the tick runs: before the hand-off starts it, and after unload, nothing shows.
        m_player->setChangeListener([this] {
            if (Timer1->isActive() && !isUnloading())
                Timer1_Timer();
        });
    }
    QWidget* MPlayer = m_player ? m_player->widget() : new QWidget(this);
    place(MPlayer, "MPlayer", 45, 45, 5085, 4755);
    if (MPlayer->accessibleName().isEmpty())
        MPlayer->setAccessibleName(QStringLiteral("Media player"));

    lblMin = place(new ClickableLabel(QStringLiteral("<"), this), "lblMin", 5130, 45, 150, 285);
    lblMin->setToolTip(QStringLiteral("Hide Details"));
    lblMin->setFont(sansFont(LargeFontPx, true));
    setTextColour(lblMin, Yellow);

    picMain = place(new ClickableLabel(this), "picMain", 6705, -45, 1410, 480);
    picMain->setPixmap(Artwork::pixmap(QStringLiteral("logo"), QSize(94, 32), qApp->devicePixelRatio()));
    picMain->setAccessibleName(QStringLiteral("Vantrel Quillon")); // the words on the logo

    m_clock = new ClockPanel(this, m_log);
    m_transport = new Transport(this, m_log);
    m_transport->setPlayer(m_player);
    m_notes = new NotesPanel(this, m_log);
    m_pedalPoll = new PedalPoll(this, *m_transport, m_services.pedal, m_log, m_services.waitRunningEvents,
                                [this] { return isUnloading(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    // Keyboard order as designed: the transport controls first.
    const char* const tabOrder[] = {"chkScanForward", "chkScanBack", "cmbPlay", "cmbPause", "cmbFullScreen",
                                    "lvNotes",        "lvData",      "sldRate", "MPlayer",  "txtButtons"};
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        QWidget::setTabOrder(findChild<QWidget*>(QLatin1String(tabOrder[i])),
                             findChild<QWidget*>(QLatin1String(tabOrder[i + 1])));
    Accessibility::ringKeyboardFocus(this);
}

int frmMain::widthTwips() const {
    if (width() == Twips::toPixels(m_widthTwips - Twips::FrameWidth))
        return m_widthTwips;
    return Twips::fromPixels(width()) + Twips::FrameWidth;
}

int frmMain::heightTwips() const {
    if (height() == Twips::toPixels(m_heightTwips - Twips::FrameHeight))
        return m_heightTwips;
    return Twips::fromPixels(height()) + Twips::FrameHeight;
}

void frmMain::setWidthTwips(int twips) {
    m_widthTwips = twips;
    setFixedWidth(Twips::toPixels(twips - Twips::FrameWidth));
}

void frmMain::setHeightTwips(int twips) {
    m_heightTwips = twips;
    setFixedHeight(Twips::toPixels(twips - Twips::FrameHeight));
}
