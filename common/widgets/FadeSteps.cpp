#include "FadeSteps.h"

#include <cmath>

namespace FadeSteps {

namespace {
// Alphas are computed from the step count rather than summed, so that twenty steps of 0.05 reach
// 1.0 exactly instead of drifting into a twenty-first step; the margin absorbs the rounding of
// 0.05 itself.
constexpr double Margin = 1e-9;
} // namespace

double stepSeconds(double duration)
{
    return duration >= 0.1 ? duration / 20.0 : 0.04;
}

int stepMilliseconds(double duration)
{
    return static_cast<int>(std::lround(stepSeconds(duration) * 1000.0));
}

QList<double> fadeInAlphas(double finalAlpha, double fromAlpha)
{
    QList<double> alphas;
    const double start = std::max(0.0, fromAlpha);
    for (int step = 0;; ++step) {
        const double alpha = start + step * AlphaStep;
        if (alpha >= finalAlpha - Margin)
            break;
        alphas.append(alpha);
    }
    return alphas;
}

QList<double> fadeOutAlphas(double fromAlpha)
{
    QList<double> alphas;
    for (int step = 0;; ++step) {
        const double alpha = fromAlpha - step * AlphaStep;
        if (alpha <= Margin)
            break;
        alphas.append(alpha);
    }
    return alphas;
}

QList<int> shakeOffsets()
{
    QList<int> offsets{5};
    for (int i = 0; i < 4; ++i)
        offsets << -10 << 10;
    offsets << -5;
    return offsets;
}

QRect usableScreenRect(const QRect &screenGeometry, const QRect &availableGeometry)
{
    if (screenGeometry.isEmpty())
        return {};
    const int top = availableGeometry.isEmpty() ? screenGeometry.top() : availableGeometry.top();
    const int bottomEdge = screenGeometry.y() + screenGeometry.height();
    return QRect(screenGeometry.x(), top, screenGeometry.width(), bottomEdge - top);
}

QPoint placedOrigin(const QRect &screen, const QSize &size, double fx, double fy)
{
    const double x = std::trunc(fx * screen.width() - size.width() / 2.0);
    // Distance of the window's bottom edge above the screen's bottom edge.
    const double yFromBottom = std::trunc(fy * screen.height() - size.height() / 2.0);
    const int bottomEdge = screen.y() + screen.height();
    return QPoint(screen.x() + static_cast<int>(x),
                  bottomEdge - static_cast<int>(yFromBottom) - size.height());
}

} // namespace FadeSteps
