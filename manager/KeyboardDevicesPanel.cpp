#include "KeyboardDevicesPanel.h"

#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "platform/EvdevKeySource.h"
#include "platform/NotificationCenter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString ChoiceKey = QStringLiteral("ReadKeyboardDevices");

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

QLabel *wrappedLabel(const QString &text, const char *name)
{
    auto *label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

KeyboardDevicesPanel::KeyboardDevicesPanel(SharedPreferences &preferences,
                                           NotificationCenter &notifications,
                                           EvdevDeviceDiscovery discovery, QWidget *parent)
    : QWidget(parent)
    , mPreferences(preferences)
    , mNotifications(notifications)
    , mDiscovery(std::move(discovery))
    , mBox(new QCheckBox(localized("KeyboardDevicesBox")))
    , mAccess(wrappedLabel(QString(), "keyboardDevicesAccess"))
    , mCommand(new QLineEdit(accessCommand()))
{
    setObjectName(QStringLiteral("keyboardDevicesPanel"));
    mBox->setObjectName(QStringLiteral("readKeyboardDevices"));
    mBox->setChecked(mPreferences.intValue(ChoiceKey).value_or(0) != 0);
    mCommand->setObjectName(QStringLiteral("keyboardDevicesCommand"));
    mCommand->setReadOnly(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->addWidget(mBox);
    layout->addWidget(wrappedLabel(localized("KeyboardDevicesExplanation"), "keyboardDevicesText"));
    layout->addWidget(mAccess);
    layout->addWidget(mCommand);
    layout->addWidget(wrappedLabel(localized("KeyboardDevicesCorners"), "cornersNote"));
    connect(mBox, &QCheckBox::clicked, this, &KeyboardDevicesPanel::choose);
    refreshAccess();
}

QString KeyboardDevicesPanel::accessCommand()
{
    return QStringLiteral("sudo usermod -aG input $USER");
}

std::unique_ptr<KeyMapSource> KeyboardDevicesPanel::chosenKeyboard() const
{
    if (!mBox->isChecked())
        return nullptr;
    return EvdevKeySource::create(mDiscovery).source;
}

void KeyboardDevicesPanel::choose(bool on)
{
    mPreferences.setValue(ChoiceKey, on ? 1 : 0);
    mPreferences.synchronize();
    mNotifications.post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
    refreshAccess();
}

void KeyboardDevicesPanel::refreshAccess()
{
    // Only the count is kept: the devices are closed again at once.
    const EvdevDeviceDiscovery::Scan scan = mDiscovery.scan();
    const bool lacksAccess = scan.lacksAccess();
    if (lacksAccess)
        mAccess->setText(localized("KeyboardDevicesNoAccess"));
    else if (scan.keyboards.empty())
        mAccess->setText(localized("KeyboardDevicesNone"));
    else
        mAccess->setText(localized("KeyboardDevicesReadable").arg(scan.keyboards.size()));
    mCommand->setVisible(lacksAccess);
    mCommand->setCursorPosition(0);
}

QString KeyboardDevicesPanel::accessText() const
{
    return mAccess->text();
}

bool KeyboardDevicesPanel::showsAccessCommand() const
{
    return !mCommand->isHidden();
}

void KeyboardDevicesPanel::showEvent(QShowEvent *event)
{
    refreshAccess();
    QWidget::showEvent(event);
}
