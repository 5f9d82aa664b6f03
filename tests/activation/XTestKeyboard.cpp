#include "XTestKeyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

XTestKeyboard::XTestKeyboard()
    : mDisplay(XOpenDisplay(nullptr))
{
}

XTestKeyboard::~XTestKeyboard()
{
    if (mDisplay)
        XCloseDisplay(mDisplay);
}

void XTestKeyboard::send(std::initializer_list<Edge> edges)
{
    for (const Edge &edge : edges) {
        const KeyCode code = XKeysymToKeycode(mDisplay, XStringToKeysym(edge.keysym));
        XTestFakeKeyEvent(mDisplay, code, edge.down ? True : False, CurrentTime);
    }
    XSync(mDisplay, False);
}
