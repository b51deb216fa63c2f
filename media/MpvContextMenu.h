#pragma once

#include <QMenu>
#include <functional>

// The component's own menu, opened by a right-click on the picture (also full screen) or on the bar:
// the bar's commands and full screen. Each entry says what it does at the moment it opens: Play or
// Pause, Mute checked while muted, Full Screen only for a video and checked while it fills the screen.
class MpvContextMenu : public QMenu {
    Q_OBJECT
  public:
    struct State {
        bool open = false; // media is open or opening
        bool playing = false;
        bool video = false;
        bool fullScreen = false;
        bool muted = false;
    };

    explicit MpvContextMenu(QWidget* parent);

    // A right-click (or the menu key) on area opens the menu there, set from now().
    void offerOn(QWidget* area, std::function<State()> now);

  signals:
    void playPauseChosen();
    void stopChosen();
    void fullScreenChosen(bool on);
    void muteChosen(bool muted);

  private:
    void popupWith(const State& state, const QPoint& globalPosition);

    QAction* m_playPause;
    QAction* m_stop;
    QAction* m_fullScreen;
    QAction* m_mute;
};
