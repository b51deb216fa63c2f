#pragma once

#include <QObject>
#include <functional>

class QAbstractItemView;

// A list's double-click anywhere on it, also below its rows, as the designed lists report it; only
// with the primary button, as on every desktop. The handler runs from the event loop once the list has
// taken the clicks, so the selection is the one the user sees and it may let events run. Clicks below
// the rows only focus the list: Qt would clear the selection the double-click acts on.
class ListDoubleClicks : public QObject {
  public:
    ListDoubleClicks(QAbstractItemView* list, std::function<void()> handler);
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractItemView* m_list;
    std::function<void()> m_handler;
    bool m_pressBelowRows = false;
};
