#include "KeyActivationSheet.h"

#include "KeyCombinationCapture.h"
#include "QOR_StringUtils.h"
#include "ShortcutCaptureSheet.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

// A stored value the pop-up has no entry for shows no entry rather than another one.
void selectIndex(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

} // namespace

KeyActivationSheet::KeyActivationSheet(KeyMapSource *keyboard, QWidget *parent)
    : QDialog(parent)
    , mCapture(new KeyCombinationCapture(keyboard, this))
    , mModifier(new QComboBox)
    , mRepetition(new QComboBox)
    , mPredefined(new QRadioButton(localized("KeyActivationPredefined")))
    , mPersonal(new QRadioButton(localized("KeyActivationPersonal")))
    , mKeys(ShortcutCaptureSheet::keysLabel())
    , mTake(new QPushButton(localized("ShortcutTake")))
{
    setWindowTitle(localized("KeyActivationTitle"));
    setWindowModality(Qt::WindowModal);
    mModifier->setObjectName(QStringLiteral("modifier"));
    mRepetition->setObjectName(QStringLiteral("repetition"));
    mModifier->addItems(
        ShortcutSettings::modifierTitles().mid(0, ShortcutSettings::OfferedModifiers));
    mRepetition->addItems(ShortcutSettings::repetitionTitles());

    // setKeyPressedMode: the two modes exclude each other.
    auto *modes = new QButtonGroup(this);
    modes->addButton(mPredefined);
    modes->addButton(mPersonal);
    connect(mPersonal, &QRadioButton::toggled, this, &KeyActivationSheet::updateEnabled);

    connect(mCapture, &KeyCombinationCapture::shownChanged, this, [this](const KeyMap &shown) {
        mKeys->setText(shown.isEmpty() ? KeyMap::localizedName(QStringLiteral("None"))
                                       : shown.localizedString());
    });
    connect(mTake, &QPushButton::clicked, mCapture, &KeyCombinationCapture::takeNow);

    auto *tap = new QHBoxLayout;
    tap->addWidget(mModifier);
    tap->addWidget(mRepetition);
    tap->addStretch(1);
    auto *hint = new QLabel(localized("KeyActivationHint"));
    hint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // The combination being held must not press the sheet's buttons.
    for (QAbstractButton *button : buttons->buttons())
        button->setFocusPolicy(Qt::NoFocus);
    mTake->setFocusPolicy(Qt::NoFocus);
    mTake->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mPredefined);
    auto *indented = new QVBoxLayout;
    indented->setContentsMargins(24, 0, 0, 8);
    indented->addLayout(tap);
    layout->addLayout(indented);
    layout->addWidget(mPersonal);
    auto *personal = new QVBoxLayout;
    personal->setContentsMargins(24, 0, 0, 8);
    personal->addWidget(hint);
    auto *keysRow = new QHBoxLayout;
    keysRow->addWidget(mKeys, 1);
    keysRow->addWidget(mTake);
    personal->addLayout(keysRow);
    layout->addLayout(personal);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

void KeyActivationSheet::load(const ShortcutSettings &settings)
{
    selectIndex(mModifier, settings.shortCutsMenu);
    selectIndex(mRepetition, settings.shortCutsMenuRepetition);
    mPersonal->setChecked(settings.shortCutsKeyPersonalValues != 0);
    mPredefined->setChecked(settings.shortCutsKeyPersonalValues == 0);
    mInitial = KeyMap::fromData(settings.shortCutsKeyPersonalValuesData).value_or(KeyMap());
    mCapture->start(mInitial);
    mCapture->stop();
    updateEnabled();
}

void KeyActivationSheet::applyTo(ShortcutSettings &settings) const
{
    // An entry left unselected keeps the stored value it could not show.
    if (mModifier->currentIndex() >= 0)
        settings.shortCutsMenu = mModifier->currentIndex();
    if (mRepetition->currentIndex() >= 0)
        settings.shortCutsMenuRepetition = mRepetition->currentIndex();
    settings.shortCutsKeyPersonalValues = mPersonal->isChecked() ? 1 : 0;
    settings.shortCutsKeyPersonalValuesData = mCapture->taken().toData();
}

int KeyActivationSheet::exec()
{
    mCapture->start(mInitial);
    QTimer::singleShot(0, this, &KeyActivationSheet::running);
    const int result = QDialog::exec();
    mCapture->stop();
    return result;
}

QString KeyActivationSheet::shownKeys() const
{
    return mKeys->text();
}

void KeyActivationSheet::updateEnabled()
{
    const bool personal = mPersonal->isChecked();
    mModifier->setEnabled(!personal);
    mRepetition->setEnabled(!personal);
    mKeys->setEnabled(personal);
    mTake->setEnabled(personal);
}
