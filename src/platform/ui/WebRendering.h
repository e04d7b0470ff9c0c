#pragma once
#include <QProcessEnvironment>
#include <QString>

// How web views draw. Where OpenGL has no graphics device under it, it is emulated on the CPU, at
// a high cost in start-up time and memory (a GL context per window, and another in the web
// engine); drawing in software is then cheaper. Machines with a graphics device keep OpenGL.
namespace WebRendering {
// Whether the machine has a graphics device: a DRM node or the NVIDIA driver's control device.
bool HasGpuDevice(const QString& devRoot = QStringLiteral("/dev"));
// Whether to draw in software: no graphics device, or OpenGL forced to software; never when the
// user chose a scene-graph back end through Qt's own variables.
bool PreferSoftware(const QProcessEnvironment& env, bool hasGpuDevice);
// Makes the choice for this process; before the first window exists.
void ChooseForThisMachine();
} // namespace WebRendering
