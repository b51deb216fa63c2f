#include "DesignedLayout.h"

#include "Accessibility.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

namespace DesignedLayout {

QFont sansFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont monoFont(int pixels) {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(pixels);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void paintWindow(QWidget* window) {
    window->setFont(sansFont(StandardFontPx));
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::black);
    window->setPalette(palette);
}

void designWindow(QWidget* window, const char* name, const QString& title, const QIcon& icon) {
    window->setObjectName(QLatin1String(name));
    Accessibility::announceWindows();
    window->setWindowTitle(title);
    window->setWindowIcon(icon);
    paintWindow(window);
}

void makeReportList(QTreeWidget* list) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setColumnCount(0);
    list->header()->setStretchLastSection(false);
}

} // namespace DesignedLayout
