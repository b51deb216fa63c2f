// Opening a session: the hand-off of a catalogue row to the player window.
#include "frmSessions.h"

#include "ErrorHandling.h"
#include "UnhandledError.h"
#include "frmMain.h"

#include <QEvent>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>

bool frmSessions::eventFilter(QObject* watched, QEvent* event) {
    // Anywhere on the list, as the designed list reports it; run from the event loop, not
    // from inside the mouse event, since the hand-off lets events run.
    if (watched == lvSessions->viewport() && event->type() == QEvent::MouseButtonDblClick)
        QMetaObject::invokeMethod(this, &frmSessions::onDoubleClick, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void frmSessions::onDoubleClick() {
    try {
        lvSessions_DblClick();
    } catch (...) {
        reportUnhandledError(currentError());
    }
}

void frmSessions::lvSessions_DblClick() {
    // A second double-click while a hand-off waits for its media is ignored.
    if (m_handingOff || m_unloading)
        return;
    logAndRaise(SourceModule::frmSessions + QStringLiteral(".lvSessions_DblClick()"), [&] {
        struct DefaultPointer {
            QWidget* window;
            ~DefaultPointer() { window->unsetCursor(); }
        } restore{this};
        setCursor(Qt::WaitCursor);
        repaint();
        if (QTreeWidgetItem* row = selectedRow())
            handOff(row);
    });
}

QByteArray frmSessions::fileBytes(const QTreeWidgetItem* row) {
    const QByteArray bytes = row->data(ColFilename, Qt::UserRole).toByteArray();
    return bytes.isEmpty() ? row->text(ColFilename).toUtf8() : bytes;
}

frmMain* frmSessions::loadedPlayerWindow() {
    // After the user closed the player window, the next session loads it anew.
    if (!m_main || m_main->isUnloading())
        m_main = frmMain::load(playerServices());
    return m_main;
}

void frmSessions::handOff(QTreeWidgetItem* row) {
    m_handingOff = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_handingOff};

    const QString title = row->text(ColLocation) + QStringLiteral(" - ") + row->text(ColDate);
    const QString filename = row->text(ColFilename);
    const QByteArray bytes = fileBytes(row);

    const QPointer<frmMain> window = loadedPlayerWindow();
    if (!window->openSession(title, filename, bytes, m_services.openWaitMs, [this] { return m_unloading; }))
        return;
    if (!window->isVisible())
        centreOnCatalogue(window);
    window->show();
    hide();
}

void frmSessions::centreOnCatalogue(QWidget* window) const {
    QPoint place = geometry().center() - QPoint(window->width() / 2, window->height() / 2);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - window->width())));
        place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - window->height())));
    }
    window->move(place);
}
