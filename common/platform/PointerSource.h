#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

// The pointer and the main screen, in the agent's coordinates: origin at the bottom left of the
// main screen, y growing upwards. Safe to call from any thread; buttonPressed() must not
// allocate (the keyboard thread asks it on every round).
class PointerSource
{
public:
    virtual ~PointerSource() = default;
    virtual QPointF location() = 0;
    // Whether any of the three mouse buttons is down (wheel steps are not button presses).
    virtual bool buttonPressed() = 0;
    // A rectangle of zeros when there is no screen.
    virtual QRectF mainScreenFrame() = 0;

    // Location and buttons read together (one round trip to the X server).
    struct State {
        QPointF location;
        bool buttonPressed = false;
    };
    virtual State state() { return {location(), buttonPressed()}; }

    // A source that hears every button change (X11 with XInput2) answers
    // lastHeardButtonPressed() from what it heard, without asking the server; the timer asks it
    // on every tick and the location only when a gesture needs it. Otherwise it is
    // buttonPressed().
    virtual bool hearsButtons() const { return false; }
    virtual bool lastHeardButtonPressed() { return buttonPressed(); }
    // Readable when a heard button change waits to be read by lastHeardButtonPressed(), so that
    // a program asleep can be woken by a click; -1 when there is none.
    virtual int heardButtonsDescriptor() const { return -1; }

    struct Creation {
        std::unique_ptr<PointerSource> source;
        QString reason;
    };
    static Creation createX11();

    // X11 measures from the top left of the whole desktop; the agent from the bottom left of the
    // main screen, whose frame in X11 terms is `mainScreenInX11`.
    static QPointF fromX11(QPointF x11Point, const QRectF &mainScreenInX11)
    {
        return {x11Point.x() - mainScreenInX11.x(),
                mainScreenInX11.y() + mainScreenInX11.height() - x11Point.y()};
    }
};

class FakePointerSource : public PointerSource
{
public:
    ~FakePointerSource() override
    {
        for (const int end : mHeard) {
            if (end >= 0)
                ::close(end);
        }
    }
    QPointF location() override
    {
        ++mLocationQueries;
        std::lock_guard lock(mMutex);
        return mLocation;
    }
    bool buttonPressed() override
    {
        std::lock_guard lock(mMutex);
        return mButtonPressed;
    }
    QRectF mainScreenFrame() override
    {
        std::lock_guard lock(mMutex);
        return mFrame;
    }
    void setLocation(QPointF location)
    {
        std::lock_guard lock(mMutex);
        mLocation = location;
    }
    void setButtonPressed(bool pressed)
    {
        std::lock_guard lock(mMutex);
        mButtonPressed = pressed;
        if (mHeard[1] >= 0)
            (void)!::write(mHeard[1], "b", 1);
    }
    void setMainScreenFrame(QRectF frame)
    {
        std::lock_guard lock(mMutex);
        mFrame = frame;
    }
    // Hearing the buttons or not; and how often the location was asked for (a round trip to the
    // server, for the real source).
    bool hearsButtons() const override { return mHears; }
    // A source that hears the buttons also tells of each change through a pipe, as the X
    // connection does.
    void setHearsButtons(bool hears)
    {
        mHears = hears;
        if (hears && mHeard[0] < 0 && ::pipe2(mHeard, O_NONBLOCK | O_CLOEXEC) != 0)
            mHeard[0] = mHeard[1] = -1;
    }
    bool lastHeardButtonPressed() override
    {
        char drained[64];
        while (mHeard[0] >= 0 && ::read(mHeard[0], drained, sizeof drained) > 0) { }
        return buttonPressed();
    }
    int heardButtonsDescriptor() const override { return mHears ? mHeard[0] : -1; }
    int locationQueries() const { return mLocationQueries.load(); }

private:
    int mHeard[2] = {-1, -1};
    std::mutex mMutex;
    QPointF mLocation;
    bool mButtonPressed = false;
    QRectF mFrame{0, 0, 1920, 1080};
    bool mHears = false;
    std::atomic<int> mLocationQueries{0};
};
