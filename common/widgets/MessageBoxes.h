#pragma once

#include <QString>

class QWidget;

// The message box seam: production shows QMessageBox, tests install their own.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Error icon and a single OK button.
    virtual void showError(const QString& text, const QString& title) = 0;
    // OK button only, no icon.
    virtual void showMessage(const QString& text, const QString& title) = 0;

    static void error(const QString& text, const QString& title);
    static void message(const QString& text, const QString& title);
    // Installs a replacement (not owned); nullptr restores the real message boxes. Returns the previous one.
    static MessageBoxes* install(MessageBoxes* boxes);
    // Parent for the real boxes, so they are modal over the active window.
    static void setParentWindow(QWidget* parent);
};
