#pragma once

#include <QObject>
#include <QVariantList>

// What the agent last read of the user's contacts and calendars, on the session bus for the
// manager's reader section, under the agent's name:
//   gdbus call --session --dest org.korvale.Daemon --object-path /org/korvale/OtherData
//              --method org.korvale.OtherData.Sources
// One map per source (SourcesRead::toVariantList): its kind, origin, name and record count;
// never a record.
class OtherDataBus : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvale.OtherData")
public:
    static const QString ObjectPath;
    static const QString Interface;
    static const QString Method;

    explicit OtherDataBus(QObject *parent = nullptr);
    ~OtherDataBus() override;

    // On the session bus connection the agent's name is owned on; false when it cannot be.
    bool publish();

public slots:
    Q_SCRIPTABLE QVariantList Sources();

private:
    bool mPublished = false;
};
