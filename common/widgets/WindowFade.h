#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// A timed sequence of steps on one window (fading, shaking), driven by a main-thread timer so
// that nothing ever sleeps on the GUI thread. The object deletes itself once the sequence ends,
// is cancelled or loses its window.
class WindowSteps : public QObject
{
    Q_OBJECT
public:
    struct Step {
        std::function<void()> action;
        int waitMilliseconds = 0; // after the action
    };

    ~WindowSteps() override;
    QWidget *window() const { return mWindow; }
    bool isFinished() const { return mFinished; }
    // Ends the sequence where it stands, without its remaining steps.
    void cancel();

signals:
    void finished();

protected:
    explicit WindowSteps(QWidget *window);
    // Called each time the queued steps run out; returns false when the sequence is over.
    virtual bool queueMoreSteps() = 0;
    void queue(std::function<void()> action, int waitMilliseconds = 0);
    // Runs the first steps on the next pass of the event loop.
    void start();

private:
    void advance();
    void finish();

    QPointer<QWidget> mWindow;
    QList<Step> mSteps;
    QTimer mTimer;
    bool mFinished = false;
};

// The fades of the window utilities: optionally a fade-in, a time fully shown, a fade-out that
// ends with the window hidden and its alpha back at 1.0. A window has at most one fade at a time:
// a new fade cancels the running one and, when it fades in, carries on from the alpha where the
// old one stopped, so a window reopened while it is still fading out stays open.
class WindowFade : public WindowSteps
{
    Q_OBJECT
public:
    struct Plan {
        bool fadeIn = false;
        double fadeInAlpha = 1.0;
        double fadeInDuration = 0.0;
        bool setFullAlphaAfterFadeIn = false; // the threaded fade's "set alpha 1.0"
        double holdSeconds = 0.0; // 0: no fade-out after the fade-in
        bool fadeOut = false;
        double fadeOutDuration = 0.0;
        QWidget *otherWindow = nullptr; // lowered with the window, hidden afterwards
    };

    WindowFade(QWidget *window, const Plan &plan);
    ~WindowFade() override;

    // The fade running on `window`, if any.
    static WindowFade *runningOn(QWidget *window);
    static void cancelOn(QWidget *window);

    // Whether the window accepts being made the active window (overlays never do).
    static bool takesFocus(const QWidget *window);
    static void bringToFront(QWidget *window);

protected:
    bool queueMoreSteps() override;

private:
    enum class Stage { FadeIn, Full, Hold, FadeOut, Done };
    void queueFadeIn();
    void queueFadeOut();

    Plan mPlan;
    Stage mStage = Stage::FadeIn;
    bool mTookOver = false; // cancelled another fade of the same window when it started
    QPointer<QWidget> mOtherWindow;
    double mOtherWindowAlpha = -1.0; // before it was lowered; negative: untouched
};
