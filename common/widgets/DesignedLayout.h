#pragma once

#include "Twips.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QWidget>

class QTreeWidget;

// What both windows share of their designed looks: fonts sized in pixels so the twips layout holds at
// any DPI, controls placed in twips under their designed names, coloured text on black.
namespace DesignedLayout {
constexpr int StandardFontPx = 11; // MS Sans Serif 8.25 pt at 96 dpi
constexpr int LargeFontPx = 13;    // 9.75 pt at 96 dpi
inline const QColor Yellow{255, 255, 0};

QFont sansFont(int pixels, bool bold = false);
QFont monoFont(int pixels);
void setTextColour(QWidget* widget, const QColor& colour);
// A window's black face and standard font.
void paintWindow(QWidget* window);
// A top-level window's designed name, title, icon and face; read as a window named by its title.
void designWindow(QWidget* window, const char* name, const QString& title, const QIcon& icon);
// A list in report view: rows selected whole, never edited or re-sorted by the view.
void makeReportList(QTreeWidget* list);

// Gives a control its designed name (its object name; what a screen reader says is set apart) and
// places it in twips.
template <typename W> W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}
} // namespace DesignedLayout
