#pragma once

#include "EvdevDeviceDiscovery.h"
#include "KeyMapSource.h"

#include <QString>

#include <memory>

// The key map of every keyboard together, read from the kernel's input devices: what a Wayland
// session, where no program may watch the keyboard through the display server, offers instead
// to a user who was given the right to read them. It hears every change, with the time the
// kernel stamped on it, and follows keyboards plugged in or out (the folder is watched).
class EvdevKeySource final : public KeyMapSource
{
public:
    // The keyboards of the discovery's folder. Without access to any (and some device there),
    // returns nothing and the reason; a folder without any keyboard yet is watched all the same.
    static Creation create(const EvdevDeviceDiscovery &discovery = EvdevDeviceDiscovery());

    explicit EvdevKeySource(EvdevDeviceDiscovery discovery,
                            std::vector<EvdevDeviceDiscovery::Keyboard> keyboards = {});
    ~EvdevKeySource() override;
    EvdevKeySource(const EvdevKeySource &) = delete;
    EvdevKeySource &operator=(const EvdevKeySource &) = delete;

    // Any descriptor that carries `input_event` records (a pipe in the tests): taken over, read
    // like a keyboard from then on. From any thread.
    void addDevice(int fd, const QString &name);
    int deviceCount() const;

    KeyMap sample() override;
    bool hearsChanges() const override { return true; }
    void waitForChanges(double timeout, ChangeReceiver &receiver) override;
    void wake() override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
