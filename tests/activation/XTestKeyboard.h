#pragma once

#include <initializer_list>

struct _XDisplay;

// Key edges sent through XTest in one batch: the server handles them back to back, within a
// millisecond, faster than any sampling of the keyboard can follow.
class XTestKeyboard
{
public:
    struct Edge {
        const char *keysym; // "Super_L"
        bool down;
    };

    XTestKeyboard();
    ~XTestKeyboard();
    XTestKeyboard(const XTestKeyboard &) = delete;
    XTestKeyboard &operator=(const XTestKeyboard &) = delete;

    bool isOpen() const { return mDisplay != nullptr; }
    // Returns once the server has handled every edge.
    void send(std::initializer_list<Edge> edges);

private:
    _XDisplay *mDisplay = nullptr;
};
