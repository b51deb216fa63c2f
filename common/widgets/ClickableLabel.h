#pragma once

#include <QLabel>

// A label or picture that reports clicks, as the designed windows' labels and pictures do.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
