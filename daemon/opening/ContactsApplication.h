#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The application that stands for the address book: the first of the application list whose
// desktop entry files it under ContactManagement.
class ContactsApplication
{
public:
    ContactsApplication() = delete;

    static const QString Category;

    // The "P" of the first such application record; none when the list has none.
    static std::optional<QString> findInApplications(const QVariantList &applications);

    // The Categories of the desktop entry at the path; empty for anything else.
    static QStringList categoriesOfDesktopEntry(const QString &path);
};
