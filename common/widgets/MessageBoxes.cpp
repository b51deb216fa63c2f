#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

void DesktopMessageBoxes::showError(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent());
    box.setObjectName(QStringLiteral("msgError"));
    box.exec();
}

void DesktopMessageBoxes::showMessage(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent());
    box.setObjectName(QStringLiteral("msgInfo"));
    box.exec();
}

QWidget* DesktopMessageBoxes::parent() const {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_parent;
}
