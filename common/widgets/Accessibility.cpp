#include "Accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

namespace {
// A widget of no richer kind reads as a window (a frame) while it is one: the two windows, the video
// full screen; as a plain container otherwise.
class PlainWidget : public QAccessibleWidget {
  public:
    explicit PlainWidget(QWidget* widget) : QAccessibleWidget(widget) {}
    QAccessible::Role role() const override {
        return widget()->isWindow() ? QAccessible::Window : QAccessible::Client;
    }
};

QAccessibleInterface* plainWidgetFactory(const QString& className, QObject* object) {
    // Asked for the most derived class first: only QWidget and its direct subclasses are taken, so
    // dialogs, labels, buttons and lists keep the toolkit's own interfaces.
    if (!object || !object->isWidgetType())
        return nullptr;
    const QMetaObject* meta = object->metaObject();
    // The toolkit's own direct subclasses (line edits, dialogs, button boxes) keep their interfaces.
    const bool plain =
        meta == &QWidget::staticMetaObject ||
        (meta->superClass() == &QWidget::staticMetaObject && className.front() != QLatin1Char('Q'));
    if (className != QLatin1String(meta->className()) || !plain)
        return nullptr;
    return new PlainWidget(static_cast<QWidget*>(object));
}

class EnterActs : public QObject {
  public:
    EnterActs(QWidget* control, std::function<void()> action)
        : QObject(control), m_action(std::move(action)) {
        control->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
            return false;
        m_action();
        return true;
    }

  private:
    std::function<void()> m_action;
};

// QFocusFrame follows its widget and stays out of the accessibility tree; only its face is ours.
class FocusRing : public QFocusFrame {
  public:
    using QFocusFrame::QFocusFrame;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(255, 255, 128), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }
};

// Moves the ring to a control that takes focus from the keyboard, away on a mouse click.
class FocusWatcher : public QObject {
  public:
    explicit FocusWatcher(QWidget* window) : QObject(window), m_ring(new FocusRing(window)) {
        m_ring->setObjectName(QStringLiteral("focusRing"));
        m_ring->hide(); // until a control takes focus
        for (QWidget* control : window->findChildren<QWidget*>())
            if (control != m_ring && (control->focusPolicy() & Qt::TabFocus))
                control->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_ring)
            return false;
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            const bool mouse = reason == Qt::MouseFocusReason || reason == Qt::PopupFocusReason;
            m_ring->setWidget(mouse ? nullptr : static_cast<QWidget*>(watched));
        } else if (event->type() == QEvent::FocusOut && watched == m_ring->widget() &&
                   static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason) {
            m_ring->setWidget(nullptr);
        }
        return false;
    }

  private:
    QPointer<FocusRing> m_ring;
};
} // namespace

namespace Accessibility {

void announceWindows() {
    static const bool installed = [] {
        QAccessible::installFactory(plainWidgetFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void onEnter(QWidget* control, std::function<void()> action) {
    new EnterActs(control, std::move(action));
}

void clickOnEnter(QAbstractButton* button) {
    onEnter(button, [button] {
        if (button->isEnabled())
            button->click();
    });
}

void ringKeyboardFocus(QWidget* window) {
    new FocusWatcher(window);
}

} // namespace Accessibility
