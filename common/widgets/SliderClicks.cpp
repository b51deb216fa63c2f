#include "SliderClicks.h"

#include <QMouseEvent>
#include <QSlider>

SliderClicks::SliderClicks(QSlider* slider, std::function<void()> click)
    : QObject(slider), m_click(std::move(click)) {
    slider->installEventFilter(this);
    connect(slider, &QAbstractSlider::actionTriggered, this, [this] {
        if (!m_pressed)
            later();
    });
}

bool SliderClicks::eventFilter(QObject*, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_pressed = true;
    } else if (type == QEvent::MouseButtonRelease && m_pressed &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_pressed = false;
        later();
    }
    return false;
}

void SliderClicks::later() {
    QMetaObject::invokeMethod(this, m_click, Qt::QueuedConnection);
}
