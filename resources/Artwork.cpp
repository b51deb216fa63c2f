#include "Artwork.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

static void initResources() {
    Q_INIT_RESOURCE(quillon);
}

namespace Artwork {

QPixmap pixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
    static const bool ready = (initResources(), true);
    (void)ready;
    QSvgRenderer renderer(QStringLiteral(":/quillon/%1.svg").arg(name));
    QPixmap result(logicalSize * devicePixelRatio);
    result.setDevicePixelRatio(devicePixelRatio);
    result.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter painter(&result);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(logicalSize)));
    }
    return result;
}

QIcon icon(const QString& name) {
    QIcon result;
    for (int size : {16, 32}) {
        for (qreal dpr : {1.0, 2.0})
            result.addPixmap(pixmap(QStringLiteral("%1_%2").arg(name).arg(size), QSize(size, size), dpr));
    }
    return result;
}

} // namespace Artwork
