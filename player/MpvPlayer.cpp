#include "MpvPlayer.h"

std::unique_ptr<MediaPlayer> createMpvPlayer(QWidget* parent) {
    (void)parent;
    return nullptr;
}
