#include "VideoDrawing.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool softwareGlAsked() {
    const QByteArray value = qgetenv("LIBGL_ALWAYS_SOFTWARE");
    return !value.isEmpty() && value != "0" && value.compare("false", Qt::CaseInsensitive) != 0;
}

bool hasGpu(const QString& devRoot) {
    const QDir dri(devRoot + QStringLiteral("/dri"));
    const QStringList nodes = dri.entryList({QStringLiteral("renderD*"), QStringLiteral("card*")},
                                            QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    return !nodes.isEmpty() || QFileInfo::exists(devRoot + QStringLiteral("/nvidia0"));
}
} // namespace

VideoDrawing chooseVideoDrawing(const QString& devRoot) {
    if (softwareGlAsked())
        return VideoDrawing::Software;
    return hasGpu(devRoot) ? VideoDrawing::OpenGL : VideoDrawing::Software;
}
