#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The arithmetic behind the window fades, the shake and the placement by screen fractions, kept
// apart from the widgets so that it can be checked without waiting or showing anything.
namespace FadeSteps {

// Every fade moves the window's alpha by this much per step.
inline constexpr double AlphaStep = 0.05;

// Time between two steps of a fade lasting `duration` seconds: a twentieth of it, but never less
// than 0.04 s for fades shorter than 0.1 s (which therefore take longer than asked).
double stepSeconds(double duration);
int stepMilliseconds(double duration);

// The alphas a fade-in to `finalAlpha` sets, each followed by one step's wait: 0, 0.05, ... while
// below `finalAlpha` (from `fromAlpha` when a fade takes over a half-faded window). The final
// alpha itself is set afterwards, without a wait.
QList<double> fadeInAlphas(double finalAlpha, double fromAlpha = 0.0);

// The alphas a fade-out from `fromAlpha` sets, each followed by one step's wait, while above 0.
// Alpha 0 is set afterwards, without a wait.
QList<double> fadeOutAlphas(double fromAlpha);

// The horizontal moves of the shake, relative to the window's previous position; they add up to
// nothing, so the window ends where it started even when two shakes overlap.
QList<int> shakeOffsets();
inline constexpr int ShakePauseMilliseconds = 50;

// The usable rectangle of a screen in Qt coordinates: its whole width, from the top of the
// available area (below a top bar) down to the screen's bottom edge. Panels elsewhere stay in.
QRect usableScreenRect(const QRect &screenGeometry, const QRect &availableGeometry);

// The top-left corner (Qt coordinates) that puts a window of `size` with its centre at the
// fractions (fx, fy) of `screen`, fy counted upwards from the screen's bottom edge. The
// coordinates are truncated towards zero as distances from the screen's bottom-left corner, the
// way the suite has always placed its windows, and only then turned into Qt's top-left ones.
QPoint placedOrigin(const QRect &screen, const QSize &size, double fx, double fy);

} // namespace FadeSteps
