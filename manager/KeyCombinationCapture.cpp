#include "KeyCombinationCapture.h"

#include "platform/KeyMapSource.h"

#include <QTimer>

KeyCombinationCapture::KeyCombinationCapture(KeyMapSource *keyboard, QObject *parent)
    : QObject(parent)
    , mKeyboard(keyboard)
    , mTimer(new QTimer(this))
{
    mTimer->setInterval(SampleIntervalMs);
    connect(mTimer, &QTimer::timeout, this, &KeyCombinationCapture::sample);
}

void KeyCombinationCapture::start(const KeyMap &initial)
{
    mTaken = initial;
    mShown = initial;
    mLastSample = KeyMap();
    mIdenticalSamples = 0;
    mTakeNow = false;
    emit shownChanged(mShown);
    mTimer->start();
}

void KeyCombinationCapture::stop()
{
    mTimer->stop();
}

void KeyCombinationCapture::sample()
{
    const KeyMap current = mKeyboard ? mKeyboard->sample().withoutCapsLock() : KeyMap();
    if (mTakeNow) {
        mTaken = current;
        mTakeNow = false;
    }
    KeyMap shown = current;
    if (!current.isEmpty()) {
        if (current == mLastSample) {
            if (++mIdenticalSamples == SamplesToTake)
                mTaken = current;
        } else {
            mLastSample = current;
            mIdenticalSamples = 0;
        }
    } else {
        shown = mTaken;
        mIdenticalSamples = 0;
    }
    if (shown == mShown)
        return;
    mShown = shown;
    emit shownChanged(mShown);
}
