#pragma once

#include <QWidget>

struct ShortcutSettings;
class GlobalShortcutsPanel;
class KeyboardDevicesPanel;
class QCheckBox;
class QLabel;
class QPushButton;

// The shortcut section: whether the agent runs, and the two ways it brings up the access window
// (the keyboard and a screen corner), each with its summary and a button to its sheet. In a
// Wayland session, where no program may watch the keyboard, it shows the keys the desktop's portal
// watches for the agent, or, without the portal, the command to bind.
class ShortcutSectionView : public QWidget
{
    Q_OBJECT
public:
    explicit ShortcutSectionView(bool waylandSession, QWidget *parent = nullptr);

    // The boxes and the summaries from the stored section.
    void showSettings(const ShortcutSettings &settings);

    QCheckBox *daemonBox() const { return mDaemon; }
    QCheckBox *keyBox() const { return mKey; }
    QCheckBox *cornerBox() const { return mCorner; }
    QPushButton *changeKeyButton() const { return mChangeKey; }
    QPushButton *changeCornerButton() const { return mChangeCorner; }
    QString keySummary() const;
    QString cornerSummary() const;
    bool showsWaylandNote() const { return mWaylandNote != nullptr; }
    // In a Wayland session only.
    GlobalShortcutsPanel *globalShortcutsPanel() const { return mGlobalShortcuts; }
    // The offer to read the keyboards' devices, in a Wayland session; the view takes it over.
    void addKeyboardDevicesPanel(KeyboardDevicesPanel *panel);
    KeyboardDevicesPanel *keyboardDevicesPanel() const { return mKeyboardDevices; }

    // What a desktop binds a key to where the gestures cannot be watched.
    static QString toggleCommand();

signals:
    void keyActivationToggled(bool on);
    void cornerActivationToggled(bool on);
    void changeKeyRequested();
    void changeCornerRequested();

private:
    QCheckBox *mDaemon;
    QCheckBox *mKey;
    QLabel *mKeySummary;
    QPushButton *mChangeKey;
    QCheckBox *mCorner;
    QLabel *mCornerSummary;
    QPushButton *mChangeCorner;
    QWidget *mWaylandNote = nullptr;
    GlobalShortcutsPanel *mGlobalShortcuts = nullptr;
    KeyboardDevicesPanel *mKeyboardDevices = nullptr;
};
