// The catalogue window as designed: black, two yellow labels and the session list, centred.
#include "frmSessions.h"

#include "Accessibility.h"
#include "Artwork.h"
#include "DesignedLayout.h"
#include "ListDoubleClicks.h"
#include "Twips.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>

namespace {
using namespace DesignedLayout;
constexpr int kStandardPx = StandardFontPx;
constexpr int kLargePx = LargeFontPx;

QLabel* yellowLabel(const QString& text, QWidget* parent, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    setTextColour(label, Yellow);
    return label;
}
} // namespace

const int frmSessions::ColumnWidthTwips[frmSessions::ColumnCount] = {2500, 1000, 1200, 900, 0, 0, 0};

void frmSessions::buildLayout() {
    designWindow(this, "frmSessions", QStringLiteral("Vantrel Quillon"),
                 Artwork::icon(QStringLiteral("icon_catalogue")));
    setFixedSize(Twips::toPixels(6180), Twips::toPixels(3045));

    lvSessions = place(new QTreeWidget(this), "lvSessions", 135, 405, 5910, 2220);
    makeReportList(lvSessions);
    lvSessions->header()->setMinimumSectionSize(0); // designed widths of 0 keep a column out of sight
    lvSessions->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // From the event loop, not from inside the mouse event, since the hand-off lets events run. Enter on
    // a row opens it as a double-click does.
    new ListDoubleClicks(lvSessions, [this] { onDoubleClick(); });
    Accessibility::onEnter(lvSessions, [this] {
        QMetaObject::invokeMethod(this, &frmSessions::onDoubleClick, Qt::QueuedConnection);
    });

    QLabel* Label1 =
        place(yellowLabel(QStringLiteral("Sessions available on this CD"), this, sansFont(kLargePx, true)),
              "Label1", 1440, 90, 3255, 240);
    place(yellowLabel(QStringLiteral("Double-Click to Play"), this, sansFont(kStandardPx)), "Label2", 4545,
          2700, 1500, 240);
    // Labels speak their text; the list is known by its heading.
    lvSessions->setAccessibleName(Label1->text());
    Label1->setBuddy(lvSessions);
    Accessibility::ringKeyboardFocus(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void frmSessions::addColumns() {
    lvSessions->clear();
    lvSessions->setColumnCount(0);
    lvSessions->setHeaderLabels({QStringLiteral("Location"), QStringLiteral("Date"),
                                 QStringLiteral("Start Time"), QStringLiteral("Channels"),
                                 QStringLiteral("Video"), QStringLiteral("Filename"),
                                 QStringLiteral("Notes")});
    for (int column = 0; column < ColumnCount; ++column)
        lvSessions->setColumnWidth(column, Twips::toPixels(ColumnWidthTwips[column]));
}
