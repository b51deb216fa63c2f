// The player window's lifecycle: load, Init from the catalogue's hand-off, unload.
#include "frmMain.h"

#include "CatalogueLink.h"
#include "ClockPanel.h"
#include "ErrorHandling.h"
#include "NotesPanel.h"
#include "PedalPoll.h"
#include "PlayerGeometry.h"
#include "Transport.h"
#include "UnhandledError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <optional>

namespace {
QString procName(const char* name) {
    return SourceModule::frmMain + QLatin1String(name);
}
} // namespace

frmMain* frmMain::load(PlayerServices services) {
    auto window = std::make_unique<frmMain>(std::move(services));
    window->Form_Load(); // a window whose load failed is not kept
    return window.release();
}

void frmMain::Form_Load() {
    logAndRaise(m_log, procName(".Form_Load()"), [&] {
        m_notes->addColumns();
        m_transport->loadDefaults();
    });
}

void frmMain::Init(const QString& TitleName, const SessionData& session) {
    logAndRaise(m_log, procName(".Init()"), [&] {
        setWindowTitle(TitleName);
        m_session = session;
        m_loggedInSession.clear();
        m_transport->offerFullScreen(false);
        repaint();
        LoadXML(m_notes->notesList());
        setHeightTwips(m_notes->noteCount() == 0 ? PlayerGeometry::HeightWithoutNotes
                                                 : PlayerGeometry::HeightWithNotes);
        m_pedalPoll->arm();
    });
}

void frmMain::LoadXML(QTreeWidget* ListNotes) {
    if (const std::optional<NotesPanel::Times> times = m_notes->LoadXML(m_session, ListNotes))
        m_clock->showStartAndEnd(times->started, times->finished);
}

bool frmMain::openSession(const SessionData& session, HandBack handBack, int openWaitMs,
                          const std::function<bool()>& abandoned) {
    if (!m_player)
        raiseObjectNotSet();
    m_handBack = handBack;
    // Either window may be closed while the wait lets events run.
    const QPointer<frmMain> self(this);
    const auto gone = [&] { return !self || self->isUnloading() || (abandoned && abandoned()); };
    try {
        m_player->setURL(session.path());
        // A file that cannot be opened ends the wait at once.
        pumpEventsUntil([&] { return gone() || m_player->openState() != MediaPlayer::OpenOpening; },
                        openWaitMs);
        if (gone())
            return false;
        Timer1->start();
        Init(session.title(), session);
        if (!m_mediaControls && m_services.mediaControls)
            m_mediaControls = m_services.mediaControls(*this, m_log, m_services.messages);
    } catch (...) {
        if (!gone())
            stopEverything(Failures::Skip);
        throw;
    }
    return true;
}

void frmMain::stopEverything(Failures failures) {
    const std::function<void()> steps[] = {
        [this] { m_mediaControls.reset(); },
        [this] { Timer1->stop(); },
        [this] { m_tickFailures.logRepeats(); },
        [this] { m_pedalPoll->stop(); },
        [this] {
            if (m_player)
                m_player->stop();
        },
        [this] {
            if (m_player)
                m_player->setURL(QByteArray());
        },
    };
    for (const auto& step : steps)
        failures == Failures::Skip ? void(skipErrors(step)) : step();
}

void frmMain::handBack(Failures failures) {
    const auto step = [this] {
        m_handBack == HandBack::EndProgram ? m_services.catalogue.unload() : m_services.catalogue.showAgain();
    };
    failures == Failures::Skip ? void(skipErrors(step)) : step();
}

void frmMain::Form_Unload() {
    logAndRaise(m_log, procName(".Form_Unload()"), [&] {
        stopEverything(Failures::Raise);
        const QPointer<frmMain> self(this);
        QCoreApplication::processEvents();
        if (self)
            handBack(Failures::Raise);
    });
}

void frmMain::unload() {
    if (m_unloading)
        return;
    m_unloading = true;
    const QPointer<frmMain> self(this);
    std::optional<QuillonError> failure;
    try {
        Form_Unload();
    } catch (...) {
        failure = currentError();
    }
    if (self) {
        if (failure) {
            // Whatever failed, nothing goes on playing and the user gets a window back.
            stopEverything(Failures::Skip);
            handBack(Failures::Skip);
        }
        hide();
        deleteLater();
    }
    if (failure)
        throw *failure;
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->ignore();
    try {
        unload();
    } catch (...) {
        reportUnhandledError(m_services.messages, currentError());
    }
}
