#include "ShortcutCaptureSheet.h"

#include "QOR_StringUtils.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ShortcutCaptureSheet::ShortcutCaptureSheet(KeyMapSource *keyboard, QWidget *parent)
    : QDialog(parent)
    , mCapture(new KeyCombinationCapture(keyboard, this))
    , mKeys(keysLabel())
{
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ShortcutSheetTitle")));
    setWindowModality(Qt::WindowModal);
    auto *text =
        new QLabel(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ShortcutSheetText")));
    text->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *take = buttons->addButton(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ShortcutTake")),
        QDialogButtonBox::ActionRole);
    // The keys of the shortcut must not press the dialog's buttons.
    for (QAbstractButton *button : buttons->buttons())
        button->setFocusPolicy(Qt::NoFocus);
    take->setAutoDefault(false);
    connect(take, &QPushButton::clicked, mCapture, &KeyCombinationCapture::takeNow);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(mKeys);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    connect(mCapture, &KeyCombinationCapture::shownChanged, this,
            [this](const KeyMap &shown) { mKeys->setText(keyNames(shown)); });
}

QString ShortcutCaptureSheet::shownKeys() const
{
    return mKeys->text();
}

void ShortcutCaptureSheet::start(const std::optional<KeyMap> &initial)
{
    mCapture->start(initial.value_or(KeyMap()));
    mCapture->stop(); // polled by capture() only
}

QLabel *ShortcutCaptureSheet::keysLabel()
{
    auto *keys = new QLabel;
    QFont big = keys->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    keys->setFont(big);
    keys->setAlignment(Qt::AlignCenter);
    keys->setMinimumHeight(48);
    keys->setObjectName(QStringLiteral("keys"));
    return keys;
}

std::optional<KeyMap> ShortcutCaptureSheet::capture(const std::optional<KeyMap> &initial)
{
    mCapture->start(initial.value_or(KeyMap()));
    const int result = exec();
    mCapture->stop();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return mCapture->taken();
}
