#pragma once

#include <unistd.h>

#include <QWidget>
#include <string>

#include "tests/Decoders.h"

namespace ribbon::test {

// What the widget shows, saved as a PNG and read by both decoders; "zbar|zxing".
inline std::string DecodeWidget(QWidget& widget) {
    const std::string file = "/tmp/ribbon-qt-test-" + std::to_string(getpid()) + ".png";
    if (!widget.grab().save(QString::fromStdString(file))) return "<not saved>";
    const std::string read = ZbarRead(file) + "|" + ZxingRead(file);
    std::remove(file.c_str());
    return read;
}

}  // namespace ribbon::test
