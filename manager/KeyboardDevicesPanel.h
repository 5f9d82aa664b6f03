#pragma once

#include "platform/EvdevDeviceDiscovery.h"

#include <QWidget>

#include <memory>

class KeyMapSource;

class NotificationCenter;
class QCheckBox;
class QLabel;
class QLineEdit;
class SharedPreferences;

// In a Wayland session, the shortcut section's offer to read the keyboards' devices, so that
// the agent hears the double tap again: what that means (every key of every program), whether
// this account may read them, and the one command that gives it the right. The choice is the
// preference "ReadKeyboardDevices" (off unless the user turns it on); the agent is told at once.
class KeyboardDevicesPanel : public QWidget
{
    Q_OBJECT
public:
    KeyboardDevicesPanel(SharedPreferences &preferences, NotificationCenter &notifications,
                         EvdevDeviceDiscovery discovery, QWidget *parent = nullptr);

    QCheckBox *box() const { return mBox; }
    // What the panel says of the access: readable keyboards, none found, or no right.
    QString accessText() const;
    bool showsAccessCommand() const;
    // Looks at the devices again (each time the section is shown: rights change at a new login).
    void refreshAccess();

    // The keyboards' devices as a key source for the manager's own key sheets, when chosen and
    // readable: the display server shows them no key typed in a native Wayland window.
    std::unique_ptr<KeyMapSource> chosenKeyboard() const;

    // The command that gives this account the right to read the input devices.
    static QString accessCommand();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(bool on);

    SharedPreferences &mPreferences;
    NotificationCenter &mNotifications;
    EvdevDeviceDiscovery mDiscovery;
    QCheckBox *mBox;
    QLabel *mAccess;
    QLineEdit *mCommand;
};
