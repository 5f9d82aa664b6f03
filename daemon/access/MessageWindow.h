#pragma once

#include <QIcon>
#include <QPointer>
#include <QString>

class MessageView;

// Shows a short confirmation centred on the screen for about two seconds, above every window,
// without ever taking the keyboard focus or the mouse. A new message replaces one still showing.
class MessageWindow
{
public:
    MessageWindow() = delete;

    // The text of the localisation key, with the icon (the agent's own when null). Fades in after
    // 0.2 s over 0.1 s, stays 1.5 s, fades out over 0.3 s; the window is deleted afterwards.
    static void showMessageWithText(const QString &localisationKey, const QIcon &icon = {});
    // The message showing or about to show, if any.
    static MessageView *currentMessage();

    static constexpr int ShowDelayMilliseconds = 200;
    static constexpr double FadeInSeconds = 0.1;
    static constexpr double ShownSeconds = 1.5;
    static constexpr double FadeOutSeconds = 0.3;
    static constexpr double InitialOpacity = 0.8;
};
