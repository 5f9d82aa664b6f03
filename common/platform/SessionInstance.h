#pragma once

#include <QObject>
#include <QVariantMap>

#include <functional>

// One instance of a program per desktop session, through a well-known name on the D-Bus session
// bus. The first start owns the name and answers on /org/korvale/Instance (interface
// org.korvale.Instance: Activate(), Status() -> a{sv}); a later start asks it to Activate and
// steps aside.
class SessionInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvale.Instance")
public:
    static inline const QString ObjectPath = QStringLiteral("/org/korvale/Instance");
    static inline const QString Interface = QStringLiteral("org.korvale.Instance");

    enum class Claim {
        Owned, // this process is the instance
        HandedOver, // another process is, and was asked to activate
        NoBus, // no session bus: the process runs alone, unregistered
    };

    explicit SessionInstance(const QString &serviceName, QObject *parent = nullptr);
    ~SessionInstance() override;

    Claim claim();
    QString why() const { return mWhy; }

    void setStatusProvider(std::function<QVariantMap()> provider) { mStatus = std::move(provider); }

public slots:
    Q_SCRIPTABLE void Activate();
    Q_SCRIPTABLE QVariantMap Status();

signals:
    void activationRequested();

private:
    QString mServiceName;
    QString mWhy;
    bool mOwned = false;
    std::function<QVariantMap()> mStatus;
};
