// The catalogue window as designed: black, two yellow labels and the session list, centred.
#include "frmSessions.h"

#include "Artwork.h"
#include "Twips.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>

namespace {
const QColor kYellow(255, 255, 0);
constexpr int kStandardPx = 11; // 8.25 pt at 96 dpi
constexpr int kLargePx = 13;    // 9.75 pt at 96 dpi

QFont sansFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

template <typename W> W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

QLabel* yellowLabel(const QString& text, QWidget* parent, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kYellow);
    label->setPalette(palette);
    return label;
}
} // namespace

const int frmSessions::ColumnWidthTwips[frmSessions::ColumnCount] = {2500, 1000, 1200, 900, 0, 0, 0};

void frmSessions::buildLayout() {
    setObjectName(QStringLiteral("frmSessions"));
    setAccessibleName(QStringLiteral("frmSessions"));
    setWindowTitle(QStringLiteral("Vantrel Quillon"));
    setWindowIcon(Artwork::icon(QStringLiteral("icon_catalogue")));
    setFont(sansFont(kStandardPx));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setFixedSize(Twips::toPixels(6180), Twips::toPixels(3045));

    lvSessions = place(new QTreeWidget(this), "lvSessions", 135, 405, 5910, 2220);
    lvSessions->setRootIsDecorated(false);
    lvSessions->setUniformRowHeights(true);
    lvSessions->setAllColumnsShowFocus(true);
    lvSessions->setSelectionMode(QAbstractItemView::SingleSelection);
    lvSessions->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvSessions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvSessions->setSortingEnabled(false);
    lvSessions->setColumnCount(0);
    lvSessions->header()->setStretchLastSection(false);
    lvSessions->header()->setMinimumSectionSize(0); // designed widths of 0 keep a column out of sight
    lvSessions->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lvSessions->viewport()->installEventFilter(this);

    Label1 =
        place(yellowLabel(QStringLiteral("Sessions available on this CD"), this, sansFont(kLargePx, true)),
              "Label1", 1440, 90, 3255, 240);
    Label2 = place(yellowLabel(QStringLiteral("Double-Click to Play"), this, sansFont(kStandardPx)), "Label2",
                   4545, 2700, 1500, 240);

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
