#pragma once

#include "KeyCombinationCapture.h"

#include <QDialog>

#include <optional>

class KeyMapSource;
class QLabel;

// Captures an item's key combination from the live keyboard by the rule of
// KeyCombinationCapture: held still for two seconds, or held when Take is clicked.
class ShortcutCaptureSheet : public QDialog
{
    Q_OBJECT
public:
    static constexpr int SamplesToTake = KeyCombinationCapture::SamplesToTake;

    ShortcutCaptureSheet(KeyMapSource *keyboard, QWidget *parent = nullptr);

    // editFileFolderShortcut: the taken map on OK, nothing on Cancel.
    std::optional<KeyMap> capture(const std::optional<KeyMap> &initial);

    void sample() { mCapture->sample(); }
    KeyMap taken() const { return mCapture->taken(); }
    QString shownKeys() const;
    void takeNow() { mCapture->takeNow(); }
    void start(const std::optional<KeyMap> &initial);

    static QString keyNames(const KeyMap &map) { return map.localizedString(); }
    // The large label both capture sheets show the keys in.
    static QLabel *keysLabel();

private:
    KeyCombinationCapture *mCapture;
    QLabel *mKeys;
};
