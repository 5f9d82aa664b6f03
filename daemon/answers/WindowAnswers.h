#pragma once

#include "AnswerFamily.h"
#include "platform/WaylandToplevels.h"
#include "platform/X11Windows.h"

#include <functional>

// The session's open windows, found by their title and their application's name; Return brings
// the window to the front (AnswerRecord::KeyWindow). The agent's own windows are left out. In a
// Wayland session the native programs' windows come after XWayland's, where the compositor lists
// them (AnswerRecord::KeyNativeWindow).
class WindowAnswers : public AnswerFamily
{
public:
    static const QString PreferenceKey;
    using WindowList = std::function<QList<X11Windows::ClientWindow>()>;
    using NativeWindowList = std::function<QList<WaylandToplevels::Toplevel>()>;

    // Tests may list other windows than the session's.
    explicit WindowAnswers(WindowList windows = X11Windows::clientWindows, qint64 ownPid = 0,
                           NativeWindowList nativeWindows = WaylandToplevels::sessionList);

    QString preferenceKey() const override { return PreferenceKey; }
    QList<QVariantMap> answer(const QString &query, int timeLimitMs) override;

private:
    WindowList mWindows;
    NativeWindowList mNativeWindows;
    qint64 mOwnPid;
};
