#include "WindowFade.h"

#include "FadeSteps.h"
#include "WindowFocus.h"

#include <QVariant>

namespace {
const char *const RunningFadeProperty = "_korvale_windowFade";
}

WindowSteps::WindowSteps(QWidget *window)
    : QObject(window)
    , mWindow(window)
{
    // Owned by its window as well: a window that goes away ends its fade, and a fade still
    // running when the program quits is not left behind.
    mTimer.setSingleShot(true);
    mTimer.setTimerType(Qt::PreciseTimer);
    connect(&mTimer, &QTimer::timeout, this, &WindowSteps::advance);
}

WindowSteps::~WindowSteps() = default;

void WindowSteps::queue(std::function<void()> action, int waitMilliseconds)
{
    mSteps.append({std::move(action), waitMilliseconds});
}

void WindowSteps::start()
{
    mTimer.start(0);
}

void WindowSteps::cancel()
{
    if (!mFinished)
        finish();
}

void WindowSteps::advance()
{
    while (!mFinished) {
        if (!mWindow) {
            finish();
            return;
        }
        if (mSteps.isEmpty()) {
            if (!queueMoreSteps()) {
                finish();
                return;
            }
            continue;
        }
        const Step step = mSteps.takeFirst();
        step.action();
        if (step.waitMilliseconds > 0) {
            mTimer.start(step.waitMilliseconds);
            return;
        }
    }
}

void WindowSteps::finish()
{
    mFinished = true;
    mTimer.stop();
    mSteps.clear();
    emit finished();
    deleteLater();
}

WindowFade::WindowFade(QWidget *window, const Plan &plan)
    : WindowSteps(window)
    , mPlan(plan)
    , mOtherWindow(plan.otherWindow)
{
    if (window) {
        if (WindowFade *running = runningOn(window)) {
            running->cancel();
            mTookOver = true;
        }
        window->setProperty(RunningFadeProperty, QVariant::fromValue<QObject *>(this));
    }
    start();
}

WindowFade::~WindowFade()
{
    if (QWidget *w = window()) {
        if (w->property(RunningFadeProperty).value<QObject *>() == this)
            w->setProperty(RunningFadeProperty, QVariant());
    }
}

WindowFade *WindowFade::runningOn(QWidget *window)
{
    if (!window)
        return nullptr;
    auto *fade =
        qobject_cast<WindowFade *>(window->property(RunningFadeProperty).value<QObject *>());
    return fade && !fade->isFinished() ? fade : nullptr;
}

void WindowFade::cancelOn(QWidget *window)
{
    if (WindowFade *fade = runningOn(window))
        fade->cancel();
}

bool WindowFade::takesFocus(const QWidget *window)
{
    const Qt::WindowFlags flags = window->windowFlags();
    return !(flags & Qt::WindowDoesNotAcceptFocus) && !(flags & Qt::WindowTransparentForInput)
        && !window->testAttribute(Qt::WA_ShowWithoutActivating);
}

void WindowFade::bringToFront(QWidget *window)
{
    if (!window->isVisible())
        window->show();
    window->raise();
    if (takesFocus(window))
        WindowFocus::activate(window);
}

bool WindowFade::queueMoreSteps()
{
    switch (mStage) {
    case Stage::FadeIn:
        mStage = Stage::Full;
        if (mPlan.fadeIn)
            queueFadeIn();
        return true;
    case Stage::Full:
        mStage = Stage::Hold;
        if (mPlan.setFullAlphaAfterFadeIn)
            queue([this] { window()->setWindowOpacity(1.0); });
        return true;
    case Stage::Hold:
        mStage = Stage::FadeOut;
        if (mPlan.fadeIn && mPlan.fadeOut && mPlan.holdSeconds > 0)
            queue([] {}, static_cast<int>(mPlan.holdSeconds * 1000.0));
        return true;
    case Stage::FadeOut:
        mStage = Stage::Done;
        if (mPlan.fadeOut)
            queueFadeOut();
        return true;
    case Stage::Done:
        break;
    }
    return false;
}

void WindowFade::queueFadeIn()
{
    QWidget *w = window();
    const double target = mPlan.fadeInAlpha;
    const int wait = FadeSteps::stepMilliseconds(mPlan.fadeInDuration);
    QList<double> alphas;
    if (w->isVisible()) {
        queue([this] { bringToFront(window()); });
        // A window caught half-faded by the fade this one cancelled rises from where it is.
        if (!mTookOver || w->windowOpacity() >= target)
            return;
        alphas = FadeSteps::fadeInAlphas(target, w->windowOpacity());
    } else if (target <= 0) {
        queue([this, target] {
            window()->setWindowOpacity(std::max(0.0, target));
            bringToFront(window());
        });
        return;
    } else {
        queue([this] {
            window()->setWindowOpacity(0.0);
            bringToFront(window());
        });
        alphas = FadeSteps::fadeInAlphas(target);
    }
    for (double alpha : alphas)
        queue([this, alpha] { window()->setWindowOpacity(alpha); }, wait);
    queue([this, target] { window()->setWindowOpacity(target); });
}

void WindowFade::queueFadeOut()
{
    QWidget *w = window();
    if (w->isVisible()) {
        if (mOtherWindow)
            mOtherWindowAlpha = mOtherWindow->windowOpacity();
        const int wait = FadeSteps::stepMilliseconds(mPlan.fadeOutDuration);
        for (double alpha : FadeSteps::fadeOutAlphas(w->windowOpacity())) {
            queue(
                [this, alpha] {
                    window()->setWindowOpacity(alpha);
                    if (mOtherWindow && mOtherWindow->windowOpacity() > alpha)
                        mOtherWindow->setWindowOpacity(alpha);
                },
                wait);
        }
        // Back to full alpha once hidden, so that the window shows normally next time.
        queue([this] {
            window()->setWindowOpacity(0.0);
            window()->hide();
            window()->setWindowOpacity(1.0);
        });
    }
    queue([this] {
        if (!mOtherWindow)
            return;
        if (mOtherWindow->isVisible())
            mOtherWindow->hide();
        // The second window was only lowered along the way; it too must show normally again.
        if (mOtherWindowAlpha >= 0)
            mOtherWindow->setWindowOpacity(mOtherWindowAlpha);
    });
}
