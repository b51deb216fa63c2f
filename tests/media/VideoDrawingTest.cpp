// Which way video is drawn, from the device nodes a machine has and the software-GL switch.
#include "VideoDrawing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(VideoDrawingTest, GpuNodesChooseOpenGlUnlessSoftwareGlIsAsked) {
    const struct {
        const char* what;
        QStringList nodes; // under the stand-in /dev
        const char* softwareGl;
        VideoDrawing expected;
    } cases[] = {
        {"no GPU", {QStringLiteral("null"), QStringLiteral("snd/pcmC0D0p")}, nullptr, VideoDrawing::Software},
        {"an empty dri folder", {QStringLiteral("dri/by-path/x")}, nullptr, VideoDrawing::Software},
        {"a render node", {QStringLiteral("dri/renderD128")}, nullptr, VideoDrawing::OpenGL},
        {"a card only", {QStringLiteral("dri/card0")}, nullptr, VideoDrawing::OpenGL},
        {"an NVIDIA device", {QStringLiteral("nvidia0")}, nullptr, VideoDrawing::OpenGL},
        {"software GL asked", {QStringLiteral("dri/renderD128")}, "1", VideoDrawing::Software},
        {"software GL said no", {QStringLiteral("dri/renderD128")}, "0", VideoDrawing::OpenGL},
    };
    for (const auto& c : cases) {
        QTemporaryDir dev;
        for (const QString& node : c.nodes) {
            QDir(dev.path()).mkpath(QFileInfo(node).path());
            QFile(dev.filePath(node)).open(QIODevice::WriteOnly);
        }
        c.softwareGl ? qputenv("LIBGL_ALWAYS_SOFTWARE", c.softwareGl) : qunsetenv("LIBGL_ALWAYS_SOFTWARE");
        EXPECT_EQ(chooseVideoDrawing(dev.path()), c.expected) << c.what;
    }
}

} // namespace
