#pragma once

#include <QHash>
#include <QIcon>
#include <QString>
#include <QVariantList>

// How an application of the use record ("N": its desktop entry's or program's file name without
// extension) is shown: the localised name and icon of its desktop entry where one is known (among
// the applications found, else in the desktop's application folders), the stored name otherwise.
// The stored name itself is never changed.
class ApplicationNames
{
public:
    ApplicationNames() = default;
    explicit ApplicationNames(const QVariantList &applicationsFound);

    struct Shown {
        QString title;
        QIcon icon;
    };
    Shown shown(const QString &name) const;
    QString title(const QString &name) const { return shown(name).title; }

private:
    QHash<QString, QString> mPathOfName;
    mutable QHash<QString, Shown> mCache;
};
