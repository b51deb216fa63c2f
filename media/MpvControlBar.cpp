#include "MpvControlBar.h"

#include "TimeText.h"

#include <QBoxLayout>
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace {
QToolButton* makeButton(QWidget* parent, const char* name, const QString& text, QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(text);
    button->setToolTip(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A screen reader speaks the label's text (a time, a message) and then what it is.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& what) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleDescription(what);
    return label;
}
} // namespace

MpvControlBar::MpvControlBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MPlayerBar"));
    // The bar draws its own face, so its times and messages read on the black player window.
    QPalette face = palette();
    face.setColor(QPalette::Window, QColor(212, 212, 212));
    face.setColor(QPalette::WindowText, Qt::black);
    face.setColor(QPalette::ButtonText, Qt::black);
    setPalette(face);
    setAutoFillBackground(true);
    m_playPause = makeButton(this, "MPlayerPlayPause", tr("Play"), QStyle::SP_MediaPlay);
    m_stop = makeButton(this, "MPlayerStop", tr("Stop"), QStyle::SP_MediaStop);
    m_mute = makeButton(this, "MPlayerMute", tr("Mute"), QStyle::SP_MediaVolume);
    m_mute->setCheckable(true);

    m_seek = new QSlider(Qt::Horizontal, this);
    m_seek->setObjectName(QStringLiteral("MPlayerSeek"));
    m_seek->setAccessibleName(tr("Seek"));
    m_seek->setFocusPolicy(Qt::NoFocus);
    m_seek->setRange(0, 0);
    m_volume = new QSlider(Qt::Horizontal, this);
    m_volume->setObjectName(QStringLiteral("MPlayerVolume"));
    m_volume->setAccessibleName(tr("Volume"));
    m_volume->setToolTip(tr("Volume"));
    m_volume->setFocusPolicy(Qt::NoFocus);
    m_volume->setRange(0, 100);
    m_volume->setValue(50);
    m_volume->setFixedWidth(64);

    m_elapsed = makeLabel(this, "MPlayerElapsed", tr("Elapsed time"));
    m_total = makeLabel(this, "MPlayerTotal", tr("Total time"));
    m_status = makeLabel(this, "MPlayerStatus", tr("Status"));
    m_status->setWordWrap(true);
    m_status->setContentsMargins(4, 0, 4, 0);
    m_status->hide();                           // a line of its own, only while there is something to say
    for (QLabel* time : {m_elapsed, m_total}) { // room for hours, so the slider does not jump
        time->setMinimumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("0:00:00")) + 2);
        time->setAlignment(Qt::AlignCenter);
    }
    setTimes(0, 0);

    auto* seekRow = new QHBoxLayout;
    seekRow->setContentsMargins(4, 0, 4, 0);
    seekRow->addWidget(m_elapsed);
    seekRow->addWidget(m_seek, 1);
    seekRow->addWidget(m_total);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, 4, 0);
    buttonRow->setSpacing(2);
    buttonRow->addWidget(m_playPause);
    buttonRow->addWidget(m_stop);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_mute);
    buttonRow->addWidget(m_volume);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 2, 0, 2);
    rows->setSpacing(0);
    rows->addLayout(seekRow);
    rows->addLayout(buttonRow);
    rows->addWidget(m_status);

    connect(m_playPause, &QToolButton::clicked, this, &MpvControlBar::playPauseClicked);
    connect(m_stop, &QToolButton::clicked, this, &MpvControlBar::stopClicked);
    connect(m_mute, &QToolButton::toggled, this, [this](bool muted) {
        m_mute->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
        m_mute->setAccessibleName(muted ? tr("Unmute") : tr("Mute"));
        emit muteToggled(muted);
    });
    connect(m_volume, &QSlider::valueChanged, this, &MpvControlBar::volumeChanged);
    connect(m_seek, &QSlider::sliderReleased, this, &MpvControlBar::requestSeek);
    connect(m_seek, &QSlider::actionTriggered, this, [this](int action) {
        // A click on the groove moves the handle after this signal: seek once it has moved.
        if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
            QTimer::singleShot(0, this, &MpvControlBar::requestSeek);
    });
}

void MpvControlBar::requestSeek() {
    emit seekRequested(m_seek->sliderPosition() / 1000.0);
}

void MpvControlBar::setTimes(double position, double duration) {
    const bool hours = duration >= 3600;
    m_elapsed->setText(durationText(position, hours));
    m_total->setText(durationText(duration, hours));
    if (!m_seek->isSliderDown()) {
        const QSignalBlocker quiet(m_seek);
        m_seek->setRange(0, static_cast<int>(std::lround(std::max(0.0, duration) * 1000)));
        m_seek->setValue(static_cast<int>(std::lround(std::max(0.0, position) * 1000)));
    }
}

void MpvControlBar::setPlaying(bool playing) {
    if (playing == m_playing)
        return;
    m_playing = playing;
    m_playPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_playPause->setAccessibleName(playing ? tr("Pause") : tr("Play"));
    m_playPause->setToolTip(m_playPause->accessibleName());
}

void MpvControlBar::setStatus(const QString& text) {
    m_status->setText(text);
    m_status->setToolTip(text);
    m_status->setVisible(!text.isEmpty());
}

QString MpvControlBar::status() const {
    return m_status->text();
}

bool MpvControlBar::isMuted() const {
    return m_mute->isChecked();
}

void MpvControlBar::setMuted(bool muted) {
    m_mute->setChecked(muted);
}
