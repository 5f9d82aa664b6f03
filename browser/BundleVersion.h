#pragma once

#include "BoundedFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The version a ".app" folder carries in its Contents/Info.plist (binary or XML property list):
// the first of "CFBundleVersion" and "CFBundleShortVersionString" that holds a ".", so that a
// plain build number gives way to the version the user knows.
namespace BundleVersion {

std::optional<QString> fromPropertyList(const QByteArray &data);
std::optional<QString> ofFolder(const QString &folder);

constexpr qint64 MaxPropertyListSize = BoundedFile::Limit::BundlePropertyList;

} // namespace BundleVersion
