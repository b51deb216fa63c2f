#pragma once

#include <QObject>
#include <functional>

class QSlider;

// A slider's click as the designed slider reports it: a press and release of the mouse on it (whether
// or not the value moved), or a step by keyboard or wheel; a value set in code runs nothing. Runs from
// the event loop once the slider has taken the event, so the click reads the value the user sees.
class SliderClicks : public QObject {
  public:
    SliderClicks(QSlider* slider, std::function<void()> click);
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void later();

    std::function<void()> m_click;
    bool m_pressed = false;
};
