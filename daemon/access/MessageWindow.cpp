#include "MessageWindow.h"

#include "MessageView.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <QTimer>

namespace {
QPointer<MessageView> showingMessage;
}

MessageView *MessageWindow::currentMessage()
{
    return showingMessage;
}

void MessageWindow::showMessageWithText(const QString &localisationKey, const QIcon &icon)
{
    // Two confirmations in quick succession would otherwise pile up in the same place.
    if (showingMessage)
        delete showingMessage.data();

    auto *view = new MessageView;
    QOR_WindowsUtils::setOverlayWindow(view);
    view->setWindowTitle(QStringLiteral("Korvale"));
    view->setMessageAndIcon(QOR_StringUtils::getLocalizedStringForKey(localisationKey), icon);
    view->setWindowOpacity(InitialOpacity);
    QOR_WindowsUtils::centerWindow(view);
    showingMessage = view;

    QTimer::singleShot(ShowDelayMilliseconds, view, [view] {
        auto *fade = new QORWindowSoftShow(view, FadeInSeconds, ShownSeconds, FadeOutSeconds);
        QObject::connect(fade, &WindowSteps::finished, view, &QObject::deleteLater);
    });
}
