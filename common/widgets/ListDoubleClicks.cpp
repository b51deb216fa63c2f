#include "ListDoubleClicks.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <utility>

ListDoubleClicks::ListDoubleClicks(QAbstractItemView* list, std::function<void()> handler)
    : QObject(list), m_list(list), m_handler(std::move(handler)) {
    list->viewport()->installEventFilter(this);
}

bool ListDoubleClicks::eventFilter(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
        QMetaObject::invokeMethod(this, m_handler, Qt::QueuedConnection);
    if (type == QEvent::MouseButtonRelease)
        return std::exchange(m_pressBelowRows, false);
    m_pressBelowRows = !m_list->indexAt(mouse->position().toPoint()).isValid();
    if (m_pressBelowRows)
        m_list->setFocus(Qt::MouseFocusReason);
    return m_pressBelowRows;
}
