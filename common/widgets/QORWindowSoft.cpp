#include "QORWindowSoft.h"

namespace {

WindowFade::Plan showPlan(double duration, double delay, double closeDuration)
{
    WindowFade::Plan plan;
    plan.fadeIn = true;
    plan.fadeInAlpha = 1.0;
    plan.fadeInDuration = duration;
    plan.setFullAlphaAfterFadeIn = true;
    plan.holdSeconds = delay;
    plan.fadeOut = delay > 0;
    plan.fadeOutDuration = closeDuration;
    return plan;
}

WindowFade::Plan closePlan(double duration)
{
    WindowFade::Plan plan;
    plan.fadeOut = true;
    plan.fadeOutDuration = duration;
    return plan;
}

} // namespace

void QORWindowSoftShow::showWindow(QWidget *window)
{
    new QORWindowSoftShow(window, 1.0);
}

QORWindowSoftShow::QORWindowSoftShow(QWidget *window, double duration, double delay,
                                     double closeDuration)
    : WindowFade(window, showPlan(duration, delay, closeDuration))
    , mDuration(duration)
    , mDelay(delay)
    , mCloseDuration(closeDuration)
{
}

void QORWindowSoftClose::closeWindow(QWidget *window, double duration)
{
    new QORWindowSoftClose(window, duration);
}

QORWindowSoftClose::QORWindowSoftClose(QWidget *window, double duration)
    : WindowFade(window, closePlan(duration))
    , mDuration(duration)
{
}
