#include "MpvContextMenu.h"

#include <utility>

MpvContextMenu::MpvContextMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("MPlayerMenu"));
    setAccessibleName(tr("Media"));
    m_playPause = addAction(tr("&Play"), this, &MpvContextMenu::playPauseChosen);
    m_stop = addAction(tr("&Stop"), this, &MpvContextMenu::stopChosen);
    addSeparator();
    m_fullScreen = addAction(tr("&Full Screen"), this, &MpvContextMenu::fullScreenChosen);
    m_fullScreen->setCheckable(true);
    m_mute = addAction(tr("&Mute"), this, &MpvContextMenu::muteChosen);
    m_mute->setCheckable(true);
}

void MpvContextMenu::offerOn(QWidget* area, std::function<State()> now) {
    // Custom: the event also reaches the area from the surfaces drawn inside it.
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        area, &QWidget::customContextMenuRequested, this,
        [this, area, now = std::move(now)](const QPoint& at) { popupWith(now(), area->mapToGlobal(at)); });
}

void MpvContextMenu::popupWith(const State& state, const QPoint& globalPosition) {
    m_playPause->setText(state.playing ? tr("&Pause") : tr("&Play"));
    m_playPause->setEnabled(state.open);
    m_stop->setEnabled(state.open);
    m_fullScreen->setVisible(state.video);
    m_fullScreen->setChecked(state.fullScreen);
    m_mute->setChecked(state.muted);
    popup(globalPosition);
}
