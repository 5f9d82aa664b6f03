#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// One instance of a program per desktop session, through a well-known name on the D-Bus session
// bus. The first start owns the name and answers on /org/korvale/Instance (interface
// org.korvale.Instance: Activate(), OpenFiles(as), Status() -> a{sv}); a later start asks it to
// Activate, or to open the files it was given, and steps aside.
class SessionInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvale.Instance")
public:
    static const QString ObjectPath;
    static const QString Interface;

    enum class Claim {
        Owned, // this process is the instance
        HandedOver, // another process is, and was asked to activate
        NoBus, // no session bus: the process runs alone, unregistered
    };

    explicit SessionInstance(const QString &serviceName, QObject *parent = nullptr);
    ~SessionInstance() override;

    // `files`: what this start was given to open (absolute paths), handed to the running
    // instance; an instance that cannot take them is only activated.
    Claim claim(const QStringList &files = {});
    QString why() const { return mWhy; }

    void setStatusProvider(std::function<QVariantMap()> provider) { mStatus = std::move(provider); }

public slots:
    Q_SCRIPTABLE void Activate();
    Q_SCRIPTABLE void OpenFiles(const QStringList &paths);
    Q_SCRIPTABLE QVariantMap Status();

signals:
    void activationRequested();
    // After activationRequested: a later start was given these files.
    void filesOpenRequested(const QStringList &paths);

private:
    QString mServiceName;
    QString mWhy;
    bool mOwned = false;
    std::function<QVariantMap()> mStatus;
};
