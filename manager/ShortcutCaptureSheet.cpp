#include "ShortcutCaptureSheet.h"

#include "QOR_StringUtils.h"
#include "platform/KeyMapSource.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

ShortcutCaptureSheet::ShortcutCaptureSheet(KeyMapSource *keyboard, QWidget *parent)
    : QDialog(parent)
    , mKeyboard(keyboard)
    , mKeys(new QLabel)
    , mTimer(new QTimer(this))
{
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("EditorShortcut")));
    setWindowModality(Qt::WindowModal);
    auto *text =
        new QLabel(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ShortcutSheetText")));
    text->setWordWrap(true);
    QFont big = mKeys->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    mKeys->setFont(big);
    mKeys->setAlignment(Qt::AlignCenter);
    mKeys->setMinimumHeight(48);
    mKeys->setObjectName(QStringLiteral("keys"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *take = buttons->addButton(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ShortcutTake")),
        QDialogButtonBox::ActionRole);
    // The keys of the shortcut must not press the dialog's buttons.
    for (QAbstractButton *button : buttons->buttons())
        button->setFocusPolicy(Qt::NoFocus);
    take->setAutoDefault(false);
    connect(take, &QPushButton::clicked, this, &ShortcutCaptureSheet::takeNow);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(mKeys);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    mTimer->setInterval(SampleIntervalMs);
    connect(mTimer, &QTimer::timeout, this, &ShortcutCaptureSheet::sample);
}

QString ShortcutCaptureSheet::keyNames(const KeyMap &map)
{
    return map.displayString([](const QString &name) {
        return QCoreApplication::translate("KeyNames", qPrintable(name));
    });
}

QString ShortcutCaptureSheet::shownKeys() const
{
    return mKeys->text();
}

void ShortcutCaptureSheet::start(const std::optional<KeyMap> &initial)
{
    mTaken = initial.value_or(KeyMap());
    mLastSample = KeyMap();
    mIdenticalSamples = 0;
    mTakeNow = false;
    mKeys->setText(keyNames(mTaken));
}

void ShortcutCaptureSheet::sample()
{
    const KeyMap current = mKeyboard ? mKeyboard->sample().withoutCapsLock() : KeyMap();
    if (mTakeNow) {
        mTaken = current;
        mTakeNow = false;
    }
    KeyMap shown = current;
    if (!current.isEmpty()) {
        if (current == mLastSample) {
            if (++mIdenticalSamples == SamplesToTake)
                mTaken = current;
        } else {
            mLastSample = current;
            mIdenticalSamples = 0;
        }
    } else {
        shown = mTaken;
        mIdenticalSamples = 0;
    }
    mKeys->setText(keyNames(shown));
}

std::optional<KeyMap> ShortcutCaptureSheet::capture(const std::optional<KeyMap> &initial)
{
    start(initial);
    mTimer->start();
    const int result = exec();
    mTimer->stop();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return mTaken;
}
