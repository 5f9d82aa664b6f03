#pragma once

#include <QIcon>

#include <functional>

// An icon whose image is made the first time something draws it or asks its sizes: until then
// no image file is read and no icon engine plugin (the SVG one, with Qt SVG) is loaded. Copies
// share the one image. Main thread only.
class DeferredIcon
{
public:
    DeferredIcon() = delete;

    // build makes the real icon, once; firstDrawn, when given, is called right after that.
    static QIcon make(std::function<QIcon()> build, std::function<void()> firstDrawn = {});
};
