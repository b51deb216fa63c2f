#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// Artwork compiled into the program: SVG pictures rendered sharp at the screen's scale.
namespace Artwork {
// A picture by its name (":/quillon/<name>.svg"), drawn at logicalSize for devicePixelRatio.
QPixmap pixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio = 1.0);
// A window icon with its 16 and 32 pixel drawings ("<name>_16", "<name>_32").
QIcon icon(const QString& name);
} // namespace Artwork
