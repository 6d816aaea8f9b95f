#pragma once

#include <memory>
#include <string>

class QGuiApplication;

namespace qtgui {

// The Qt Gui side a program without windows needs to draw and measure text:
// a QGuiApplication on the offscreen platform (unless QT_QPA_PLATFORM names
// another), for as long as this lives.
class OffscreenGui {
public:
    explicit OffscreenGui(const char* programName);
    ~OffscreenGui();
    OffscreenGui(const OffscreenGui&) = delete;
    OffscreenGui& operator=(const OffscreenGui&) = delete;

private:
    int argc_ = 1;
    std::string name_;
    char* argv_[2] = {};
    std::unique_ptr<QGuiApplication> application_;
};

// Whether a font family of that name is installed; Qt would quietly draw
// with another one.
bool fontFamilyInstalled(const std::string& family);

}  // namespace qtgui
