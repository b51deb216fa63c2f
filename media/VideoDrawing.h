#pragma once

#include <QString>

// How the video reaches the screen. OpenGL where a graphics card draws it; where GL could only be
// Mesa's software rasteriser, drawing in memory is as quick and leaves out the 60-odd MB of LLVM
// and driver that software GL maps into the program.
enum class VideoDrawing { OpenGL, Software };

// Looks for a GPU device node under devRoot (a render node, a DRM card, an NVIDIA device) without
// loading any GL library; LIBGL_ALWAYS_SOFTWARE asks for software drawing on any machine.
VideoDrawing chooseVideoDrawing(const QString& devRoot = QStringLiteral("/dev"));
