#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget> g_parent;

class RealMessageBoxes : public MessageBoxes {
public:
    void showError(const QString& text, const QString& title) override {
        QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent());
        box.setObjectName(QStringLiteral("msgError"));
        box.exec();
    }
    void showMessage(const QString& text, const QString& title) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent());
        box.setObjectName(QStringLiteral("msgInfo"));
        box.exec();
    }

private:
    static QWidget* parent() {
        if (QWidget* active = QApplication::activeWindow())
            return active;
        return g_parent;
    }
};

RealMessageBoxes g_real;
MessageBoxes* g_current = &g_real;
} // namespace

void MessageBoxes::error(const QString& text, const QString& title) { g_current->showError(text, title); }
void MessageBoxes::message(const QString& text, const QString& title) { g_current->showMessage(text, title); }

MessageBoxes* MessageBoxes::install(MessageBoxes* boxes) {
    MessageBoxes* previous = g_current == &g_real ? nullptr : g_current;
    g_current = boxes ? boxes : &g_real;
    return previous;
}

void MessageBoxes::setParentWindow(QWidget* parent) { g_parent = parent; }
