#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

// The message boxes the program shows; tests record them instead.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Error icon and a single OK button.
    virtual void showError(const QString& text, const QString& title) = 0;
    // OK button only, no icon.
    virtual void showMessage(const QString& text, const QString& title) = 0;
};

// Modal QMessageBoxes over the active window, else over the window given.
class DesktopMessageBoxes final : public MessageBoxes {
  public:
    void showError(const QString& text, const QString& title) override;
    void showMessage(const QString& text, const QString& title) override;
    void setParentWindow(QWidget* parent) { m_parent = parent; }

  private:
    QWidget* parent() const;
    QPointer<QWidget> m_parent;
};
