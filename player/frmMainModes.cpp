// Window modes: overlay (held on top) and details (collapsed to the video or expanded).
#include "frmMain.h"

#include "ClickableLabel.h"
#include "ErrorHandling.h"
#include "MessageBoxes.h"
#include "NotesPanel.h"
#include "PlayerGeometry.h"

void frmMain::picMain_Click() {
    logAndRaise(m_log, SourceModule::frmMain + QStringLiteral(".picMain_Click()"), [&] {
        const bool on = !m_overlayMode;
        // Changing a window's flags re-creates it and the window manager may place it anew:
        // put it back where it was, at the size it had.
        const bool wasVisible = isVisible();
        const QPoint where = pos();
        const QSize size = this->size();
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        move(where);
        resize(size);
        if (wasVisible) {
            show();
            move(where);
        }
        m_overlayMode = on;
        m_services.messages.showMessage(on ? QStringLiteral("Overlay mode is ON")
                                           : QStringLiteral("Overlay mode is OFF"),
                                        QStringLiteral("Vantrel Player Window"));
    });
}

void frmMain::lblMin_Click() {
    using namespace PlayerGeometry;
    logAndRaise(m_log, SourceModule::frmMain + QStringLiteral(".lblMin_Click()"), [&] {
        // The width alone tells the state: exactly the designed width is expanded.
        if (widthTwips() == ExpandedWidth) {
            lblMin->setToolTip(QStringLiteral("Show Details"));
            lblMin->setText(QStringLiteral(">"));
            setHeightTwips(HeightWithoutNotes);
            setWidthTwips(CollapsedWidth);
        } else {
            lblMin->setToolTip(QStringLiteral("Hide Details"));
            lblMin->setText(QStringLiteral("<"));
            setHeightTwips(m_notes->noteCount() == 0 ? HeightWithoutNotes : HeightWithNotes);
            setWidthTwips(ExpandedWidth);
        }
    });
}
