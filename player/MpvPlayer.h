#pragma once

#include "MediaPlayer.h"

#include <QWidget>
#include <memory>

// The media component on libmpv: video through mpv's render API and the component's own bar.
std::unique_ptr<MediaPlayer> createMpvPlayer(QWidget* parent);
