// Opening a session: the hand-off of a catalogue row to the player window.
#include "frmSessions.h"

#include "ErrorHandling.h"
#include "ScopeGuard.h"
#include "UnhandledError.h"
#include "frmMain.h"

#include <QScreen>
#include <QTreeWidget>
#include <algorithm>

void frmSessions::onDoubleClick() {
    try {
        lvSessions_DblClick();
    } catch (...) {
        reportUnhandledError(m_services.messages, currentError());
    }
}

void frmSessions::lvSessions_DblClick() {
    // A second double-click while a hand-off waits for its media is ignored.
    if (m_handingOff || m_unloading)
        return;
    logAndRaise(m_services.log, SourceModule::frmSessions + QStringLiteral(".lvSessions_DblClick()"), [&] {
        const ScopeGuard defaultPointer([this] { unsetCursor(); });
        setCursor(Qt::WaitCursor);
        repaint();
        const QList<QTreeWidgetItem*> selected = lvSessions->selectedItems();
        if (!selected.isEmpty())
            handOff(lvSessions->indexOfTopLevelItem(selected.first()));
    });
}

frmMain* frmSessions::loadedPlayerWindow() {
    // After the user closed the player window, the next session loads it anew.
    if (!m_main || m_main->isUnloading())
        m_main = frmMain::load(playerServices());
    return m_main;
}

void frmSessions::handOff(int row) {
    if (row < 0 || row >= Sessions.size())
        raiseError(ErrNo::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    m_handingOff = true;
    const ScopeGuard done([this] { m_handingOff = false; });

    const SessionData session = Sessions.at(row); // a copy: the catalogue may unload during the wait
    const auto handBack = rowCount() == 1 ? frmMain::HandBack::EndProgram : frmMain::HandBack::ShowCatalogue;
    const QPointer<frmMain> window = loadedPlayerWindow();
    if (!window->openSession(session, handBack, m_services.openWaitMs, [this] { return m_unloading; }))
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
