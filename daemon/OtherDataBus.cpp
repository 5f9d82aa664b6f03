#include "OtherDataBus.h"

#include "SourcesRead.h"

#include <QDBusConnection>

const QString OtherDataBus::ObjectPath = QStringLiteral("/org/korvale/OtherData");
const QString OtherDataBus::Interface = QStringLiteral("org.korvale.OtherData");
const QString OtherDataBus::Method = QStringLiteral("Sources");

OtherDataBus::OtherDataBus(QObject *parent)
    : QObject(parent)
{
}

OtherDataBus::~OtherDataBus()
{
    if (mPublished)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
}

bool OtherDataBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mPublished = bus.isConnected()
        && bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    return mPublished;
}

QVariantList OtherDataBus::Sources()
{
    return SourcesRead::toVariantList(SourcesRead::all());
}
