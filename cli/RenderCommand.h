#pragma once

#include <QStringList>
#include <QTextStream>

namespace kalmor::cli {

// kalmor-cli render FILE -o OUT.png|.pdf|.svg [--cell N] [--grid] [--region X,Y,W,H]
// Needs a QGuiApplication (fonts and pictures), no display.
int runRenderCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace kalmor::cli
