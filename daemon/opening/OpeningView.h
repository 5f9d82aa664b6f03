#pragma once

#include <QString>
#include <QVariantMap>

// What opening needs from the access window and the menus; the access window implements it.
class OpeningView
{
public:
    virtual ~OpeningView() = default;

    // The text the preview shows for the record, copied for contacts, notes and the like.
    virtual QString previewText(const QVariantMap &record) = 0;
    // "MessageOpenItem" with the icon of the path: shown once the item was launched or opened.
    virtual void showMessageForOpening(const QString &path) = 0;
    // Nothing started or opened the path: an alert names the item and says why (the text of the
    // key `reason`).
    virtual void showMessageForFailedOpening(const QString &path, const QString &reason) = 0;
    // "MessageOpenURL".
    virtual void showMessageForOpeningURL() = 0;
    // "MessageCopyItem".
    virtual void showMessageForCopyingText() = 0;
    virtual void showMessageWithText(const QString &key) = 0;
    virtual void closeAccessWindowAfter(int milliseconds) = 0;
    // Seconds since the reference date.
    virtual double accessWindowOpenedTime() const = 0;
    // The window's frame as a saved-frame string, for the browser.
    virtual QString accessWindowFrame() const = 0;
    // Discards the menu-bar menu so that it is rebuilt with the new recent items.
    virtual void clearMenuBarMenu() = 0;
    virtual void openItemEditor(const QVariantMap &record) = 0;
};
