// The player window as designed: every control at its place in twips, with its looks.
#include "frmMain.h"

#include "Accessibility.h"
#include "Artwork.h"
#include "ClickableLabel.h"
#include "DesignedLayout.h"
#include "Twips.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

namespace {
using namespace DesignedLayout;
const QColor kYellow = Yellow;
const QColor kLightYellow(255, 255, 128);
const QColor kListGrey(224, 224, 224);

constexpr int kStandardPx = StandardFontPx;
constexpr int kLargePx = LargeFontPx;

QTreeWidget* reportList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    makeReportList(list);
    list->setFont(sansFont(kStandardPx));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, kListGrey);
    list->setPalette(palette);
    return list;
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
        painter.setPen(QPen(kLightYellow, 1));
        painter.drawRoundedRect(QRectF(0.5, 0.5, faceSize.width() - 1, faceSize.height() - 1), 5, 5);
    }
    return face;
}

QPushButton* faceButton(QWidget* parent, const QString& face, QSize faceSize, bool checkable) {
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
    return button;
}
} // namespace

frmMain::frmMain(PlayerServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(std::move(services)) {
    buildLayout();
    connectEvents();
}

frmMain::~frmMain() = default;

void frmMain::buildLayout() {
    designWindow(this, "frmMain", QStringLiteral("Vantrel Quillon"),
                 Artwork::icon(QStringLiteral("icon_monitor")));
    setWidthTwips(9930);
    setHeightTwips(7500);
    const qreal dpr = qApp->devicePixelRatio();

    // The window owns the component through its widget, as it owns every other control.
    if (std::unique_ptr<MediaPlayer> made =
            m_services.createMediaPlayer ? m_services.createMediaPlayer(this) : nullptr;
        made && made->widget()) {
        if (made->widget()->parentWidget() != this)
            made->widget()->setParent(this);
        m_player = made.release();
    }
    MPlayer = m_player ? m_player->widget() : new QWidget(this);
    place(MPlayer, "MPlayer", 45, 45, 5085, 4755);
    if (MPlayer->accessibleName().isEmpty())
        MPlayer->setAccessibleName(QStringLiteral("Media player"));

    lblMin = place(new ClickableLabel(QStringLiteral("<"), this), "lblMin", 5130, 45, 150, 285);
    lblMin->setToolTip(QStringLiteral("Hide Details"));
    lblMin->setFont(sansFont(kLargePx, true));
    setTextColour(lblMin, kYellow);

    picMain = place(new ClickableLabel(this), "picMain", 6705, -45, 1410, 480);
    picMain->setPixmap(Artwork::pixmap(QStringLiteral("logo"), QSize(94, 32), dpr));
    picMain->setAccessibleName(QStringLiteral("Vantrel Quillon")); // the words on the logo

    picClockFrame = place(new QLabel(this), "picClockFrame", 5535, 630, 3930, 1080);
    picClockFrame->setPixmap(Artwork::pixmap(QStringLiteral("clock_panel"), QSize(262, 72), dpr));
    picClockFrame->setAccessibleName(QStringLiteral("Recorded time")); // its description: the time shown

    chkScanBack = place(faceButton(this, QStringLiteral("btn_rew"), QSize(61, 19), true), "chkScanBack", 5310,
                        1980, 1005, 330);
    cmbPause = place(faceButton(this, QStringLiteral("btn_pause"), QSize(69, 20), false), "cmbPause", 6435,
                     1980, 1035, 345);
    cmbPause->setToolTip(QStringLiteral("Pause/Resume Playback"));
    cmbPlay = place(faceButton(this, QStringLiteral("btn_play"), QSize(69, 20), false), "cmbPlay", 7560, 1980,
                    1035, 345);
    cmbPlay->setToolTip(QStringLiteral("Play/Resume"));
    chkScanForward = place(faceButton(this, QStringLiteral("btn_ff"), QSize(61, 19), true), "chkScanForward",
                           8685, 1980, 1005, 330);
    // The word on each face, and what the scan boxes do (the others say it in their tool tips).
    chkScanBack->setAccessibleName(QStringLiteral("rew"));
    chkScanBack->setAccessibleDescription(QStringLiteral("Scan back"));
    cmbPause->setAccessibleName(QStringLiteral("pause"));
    cmbPlay->setAccessibleName(QStringLiteral("play"));
    chkScanForward->setAccessibleName(QStringLiteral("ff"));
    chkScanForward->setAccessibleDescription(QStringLiteral("Scan forward"));

    Label1 = place(new QLabel(QStringLiteral("Session Information"), this), "Label1", 6165, 2565, 1815, 240);
    Label1->setFont(sansFont(kLargePx));
    setTextColour(Label1, kYellow);
    Label2 = place(new QLabel(QStringLiteral("-  Speed  +"), this), "Label2", 8865, 2565, 870, 195);
    setTextColour(Label2, kYellow);

    lvData = place(reportList(this), "lvData", 5265, 2880, 3435, 1950);

    sldRate = place(new QSlider(Qt::Horizontal, this), "sldRate", 8775, 2880, 960, 480);
    sldRate->setTickPosition(QSlider::TicksBelow);
    sldRate->setPageStep(1);
    sldRate->setAccessibleName(QStringLiteral("Speed"));
    Label2->setBuddy(sldRate);

    cmbFullScreen = place(new QToolButton(this), "cmbFullScreen", 8820, 4050, 915, 780);
    cmbFullScreen->setText(QStringLiteral("Full Screen"));
    cmbFullScreen->setToolTip(QStringLiteral("Full Screen Playback"));
    cmbFullScreen->setIcon(Artwork::icon(QStringLiteral("icon_monitor")));
    cmbFullScreen->setIconSize(QSize(32, 32));
    cmbFullScreen->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    cmbFullScreen->hide();

    lvNotes = place(reportList(this), "lvNotes", 45, 4950, 9735, 2040);
    lvNotes->setAccessibleName(QStringLiteral("Notes"));
    lvData->setAccessibleName(Label1->text());
    Label1->setBuddy(lvData);

    txtButtons = place(new QLineEdit(QStringLiteral("000"), this), "txtButtons", 9135, 90, 465, 285);
    txtButtons->setAccessibleName(QStringLiteral("Pedal buttons"));
    txtButtons->hide();

    lblSessionDate = place(new QLabel(this), "lblSessionDate", 9675, 4230, 960, 195);
    lblSessionDate->setAutoFillBackground(true);
    lblSessionDate->hide();

    // The clock panel's own controls, placed inside it.
    lblDate =
        place(new QLabel(QStringLiteral("Mon, Jul 15, 2004"), picClockFrame), "lblDate", 180, 45, 3555, 195);
    lblDate->setToolTip(QStringLiteral("Current Date"));
    lblDate->setFont(monoFont(kStandardPx));
    setTextColour(lblDate, Qt::black);

    for (int d = 0; d <= 9; ++d)
        ilTime.append(Artwork::pixmap(QStringLiteral("digit_%1").arg(d), QSize(18, 20), dpr));
    ilTime.append(Artwork::pixmap(QStringLiteral("digit_dash"), QSize(15, 20), dpr));

    static const int kDigitLeft[6] = {120, 390, 810, 1065, 1485, 1740};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "picClock(" + QByteArray::number(i) + ")";
        picClock[i] = place(new QLabel(picClockFrame), name.constData(), kDigitLeft[i], 495, 270, 300);
        picClock[i]->setPixmap(ilTime[0]);
        picClock[i]->setAccessibleName(QStringLiteral("0")); // then the digit shown
    }
    const QPixmap colon = Artwork::pixmap(QStringLiteral("colon"), QSize(11, 15), dpr);
    Picture3 = place(new QLabel(picClockFrame), "Picture3", 675, 540, 165, 225);
    Picture3->setPixmap(colon);
    Picture4 = place(new QLabel(picClockFrame), "Picture4", 1350, 540, 165, 225);
    Picture4->setPixmap(colon);
    for (QLabel* dots : {Picture3, Picture4})
        dots->setAccessibleName(QStringLiteral("colon"));
    picClockFrame->setAccessibleDescription(QStringLiteral("00:00:00"));

    lblPM = place(new QLabel(QStringLiteral("PM"), picClockFrame), "lblPM", 1665, 810, 375, 240);
    lblPM->setFont(sansFont(kStandardPx, true));
    setTextColour(lblPM, kYellow);
    lblPM->hide();
    lblStartTime = place(new QLabel(picClockFrame), "lblStartTime", 2670, 405, 1005, 270);
    setTextColour(lblStartTime, kLightYellow);
    lblEndTime = place(new QLabel(picClockFrame), "lblEndTime", 2655, 765, 1005, 270);
    setTextColour(lblEndTime, kLightYellow);
    // Each time speaks itself; the word printed on the panel beside it says which it is.
    lblStartTime->setAccessibleDescription(QStringLiteral("Start time"));
    lblEndTime->setAccessibleDescription(QStringLiteral("End time"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    tmrFoot = new QTimer(this);
    tmrFoot->setObjectName(QStringLiteral("tmrFoot"));
    tmrFoot->setInterval(200);

    // Keyboard order as designed: the transport controls first.
    QWidget* const tabOrder[] = {chkScanForward, chkScanBack, cmbPlay, cmbPause, cmbFullScreen,
                                 lvNotes,        lvData,      sldRate, MPlayer,  txtButtons};
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i], tabOrder[i + 1]);
    QAbstractButton* const transport[] = {chkScanForward, chkScanBack, cmbPlay, cmbPause, cmbFullScreen};
    for (QAbstractButton* button : transport)
        Accessibility::clickOnEnter(button);
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
