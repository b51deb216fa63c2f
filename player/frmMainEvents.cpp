// Wiring of the player window's events to its procedures. Each event is the top of a handler:
// an error that leaves it is shown in the modal message and the program keeps running.
#include "frmMain.h"

#include "Accessibility.h"
#include "ClickableLabel.h"
#include "ErrorHandling.h"
#include "UnhandledError.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

namespace {
// The slider's click: a press and release of the mouse on it (whether or not the value moved), or a
// step by keyboard or wheel; a value set in code runs nothing. Runs once the slider has taken the
// event, so the click reads the value the user sees.
class SliderClicks : public QObject {
  public:
    SliderClicks(QSlider* slider, std::function<void()> click) : QObject(slider), m_click(std::move(click)) {
        slider->installEventFilter(this);
        connect(slider, &QAbstractSlider::actionTriggered, this, [this] {
            if (!m_pressed)
                later();
        });
    }

    bool eventFilter(QObject*, QEvent* event) override {
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

  private:
    void later() { QMetaObject::invokeMethod(this, m_click, Qt::QueuedConnection); }

    std::function<void()> m_click;
    bool m_pressed = false;
};

// A list's double-click anywhere on it, also below its rows, as the designed list reports it. Runs
// from the event loop once the list has taken the clicks, so the selection is the one the user sees.
// Clicks below the rows only focus the list: Qt would clear the selection the double-click acts on.
class ListDoubleClicks : public QObject {
  public:
    ListDoubleClicks(QAbstractItemView* list, std::function<void()> handler)
        : QObject(list), m_list(list), m_handler(std::move(handler)) {
        list->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonDblClick)
            QMetaObject::invokeMethod(this, m_handler, Qt::QueuedConnection);
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return false;
        if (type == QEvent::MouseButtonRelease)
            return std::exchange(m_pressBelowRows, false);
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        m_pressBelowRows = !m_list->indexAt(at).isValid();
        if (m_pressBelowRows)
            m_list->setFocus(Qt::MouseFocusReason);
        return m_pressBelowRows;
    }

  private:
    QAbstractItemView* m_list;
    std::function<void()> m_handler;
    bool m_pressBelowRows = false;
};
} // namespace

void frmMain::connectEvents() {
    // Procedures raise with their own source name; the handler top only shows what arrives.
    auto on = [this](auto procedure) {
        return [this, procedure] {
            try {
                (this->*procedure)();
            } catch (...) {
                reportUnhandledError(currentError());
            }
        };
    };
    connect(Timer1, &QTimer::timeout, this, on(&frmMain::Timer1_Timer));
    connect(tmrFoot, &QTimer::timeout, this, on(&frmMain::tmrFoot_Timer));
    new ListDoubleClicks(lvNotes, on(&frmMain::lvNotes_DblClick));
    Accessibility::onEnter(lvNotes, on(&frmMain::lvNotes_DblClick)); // the keyboard's double-click
    connect(cmbPlay, &QPushButton::clicked, this, on(&frmMain::cmbPlay_Click));
    connect(cmbPause, &QPushButton::clicked, this, on(&frmMain::cmbPause_Click));
    // A scan box's click runs on every change of its value, also one made in code, and not when
    // the value written is the one it has: exactly what toggled() does.
    connect(chkScanBack, &QPushButton::toggled, this, on(&frmMain::chkScanBack_Click));
    connect(chkScanForward, &QPushButton::toggled, this, on(&frmMain::chkScanForward_Click));
    new SliderClicks(sldRate, on(&frmMain::sldRate_Click));
    connect(cmbFullScreen, &QToolButton::clicked, this, on(&frmMain::cmbFullScreen_Click));
    connect(picMain, &ClickableLabel::clicked, this, on(&frmMain::picMain_Click));
    connect(lblMin, &ClickableLabel::clicked, this, on(&frmMain::lblMin_Click));
}
