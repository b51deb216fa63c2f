// Window modes: overlay (held on top) and details (collapsed to the video or expanded).
#include "frmMain.h"

#include "ClickableLabel.h"
#include "ErrorHandling.h"
#include "MessageBoxes.h"

#include <QTreeWidget>

namespace {
constexpr int kExpandedWidth = 9930;
constexpr int kCollapsedWidth = 5350;
constexpr int kHeightWithoutNotes = 5300;
constexpr int kHeightWithNotes = 7500;
} // namespace

void frmMain::picMain_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".picMain_Click()"), [&] {
        const bool on = !OverlayMode;
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
        OverlayMode = on;
        MessageBoxes::message(on ? QStringLiteral("Overlay mode is ON")
                                 : QStringLiteral("Overlay mode is OFF"),
                              QStringLiteral("Vantrel Player Window"));
    });
}

void frmMain::lblMin_Click() {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".lblMin_Click()"), [&] {
        // The width alone tells the state: exactly the designed width is expanded.
        if (widthTwips() == kExpandedWidth) {
            lblMin->setToolTip(QStringLiteral("Show Details"));
            lblMin->setText(QStringLiteral(">"));
            setHeightTwips(kHeightWithoutNotes);
            setWidthTwips(kCollapsedWidth);
        } else {
            lblMin->setToolTip(QStringLiteral("Hide Details"));
            lblMin->setText(QStringLiteral("<"));
            setHeightTwips(lvNotes->topLevelItemCount() == 0 ? kHeightWithoutNotes : kHeightWithNotes);
            setWidthTwips(kExpandedWidth);
        }
    });
}
