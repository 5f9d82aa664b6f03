#pragma once

#include "AnswerFamily.h"
#include "platform/X11Windows.h"

#include <functional>

// The session's open windows, found by their title and their application's name; Return brings
// the window to the front (AnswerRecord::KeyWindow). The agent's own windows are left out.
class WindowAnswers : public AnswerFamily
{
public:
    static inline const QString PreferenceKey = QStringLiteral("AnswersWindows");
    using WindowList = std::function<QList<X11Windows::ClientWindow>()>;

    // Tests may list other windows than the display's.
    explicit WindowAnswers(WindowList windows = X11Windows::clientWindows, qint64 ownPid = 0);

    QString preferenceKey() const override { return PreferenceKey; }
    QList<QVariantMap> answer(const QString &query, int timeLimitMs) override;

private:
    WindowList mWindows;
    qint64 mOwnPid;
};
