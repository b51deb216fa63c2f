// The player window's lifecycle: load, Init from the catalogue's hand-off, unload.
#include "frmMain.h"

#include "ErrorHandling.h"

#include <QCloseEvent>
#include <QKeyEvent>

frmMain* frmMain::load(PlayerServices services) {
    auto* window = new frmMain(std::move(services));
    window->Form_Load();
    return window;
}

void frmMain::Form_Load() {}

void frmMain::Init(const QString& TitleName, const QString& Filename, const QByteArray& FileBytes) {
    setWindowTitle(TitleName);
    CurrentFilename = Filename;
    CurrentFileBytes = FileBytes.isEmpty() ? Filename.toUtf8() : FileBytes;
}

void frmMain::Form_Unload() {}

void frmMain::unload() {
    if (m_unloading)
        return;
    m_unloading = true;
    Form_Unload();
    hide();
    deleteLater();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->ignore();
    unload();
}

void frmMain::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }
