#pragma once

#include <QObject>
#include <QVariantMap>

#include <functional>

// The access window on the session bus, for desktops where the gestures cannot be watched
// (Wayland sessions): a key bound to
//   gdbus call --session --dest org.korvale.Daemon --object-path /org/korvale/AccessWindow
//              --method org.korvale.AccessWindow.Toggle
// brings it up or sends it away, and the method ShowMenu pops up the menu-bar menu at the pointer.
// State() describes what it shows, for scripts and tests.
class AccessWindowBus : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvale.AccessWindow")
public:
    static const QString ObjectPath;
    static const QString Interface;

    explicit AccessWindowBus(QObject *parent = nullptr);
    ~AccessWindowBus() override;

    // On the session bus connection the agent's name is owned on; false when it cannot be.
    bool publish();
    void setStateProvider(std::function<QVariantMap()> provider) { mState = std::move(provider); }

public slots:
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void Open();
    Q_SCRIPTABLE void Close();
    Q_SCRIPTABLE void ShowMenu();
    Q_SCRIPTABLE QVariantMap State();

signals:
    void toggleRequested();
    void openRequested();
    void closeRequested();
    void menuRequested();

private:
    std::function<QVariantMap()> mState;
    bool mPublished = false;
};
