#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>

// What an activation from the desktop's search does in the agent.
struct OfferedActions {
    // Opens the record as Return does in the access window.
    std::function<void(const QVariantMap &record)> open;
    // Opens the access window with this text typed in.
    std::function<void(const QString &text)> launchSearch;
};
