#pragma once

#include <QString>

#include <functional>

// The desktop's own file previewer, when one answers on the session bus. Behind an interface
// so that the file preview can be tested without a desktop.
class PreviewService
{
public:
    virtual ~PreviewService() = default;

    // Whether a previewer is running or can be started by the bus now.
    virtual bool isAvailable() = 0;
    // Shows one file, or closes the previewer when it shows something already (Space toggles).
    // `done` is called on the main thread with false when the previewer refused or failed.
    virtual void showFile(const QString &path, unsigned long windowId,
                          std::function<void(bool ok)> done) = 0;
    // Closes the previewer if it runs; never starts it.
    virtual void close() = 0;
};

// GNOME's previewer (Sushi): org.gnome.NautilusPreviewer on the session bus.
class NautilusPreviewService : public PreviewService
{
public:
    static const QString ServiceName;
    static const QString ObjectPath;
    static const QString Interface;

    bool isAvailable() override;
    void showFile(const QString &path, unsigned long windowId,
                  std::function<void(bool ok)> done) override;
    void close() override;
};
