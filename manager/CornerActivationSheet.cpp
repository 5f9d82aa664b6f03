#include "CornerActivationSheet.h"

#include "KeyMap.h"
#include "QOR_StringUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QCheckBox *modifierBox(const char *name)
{
    return new QCheckBox(KeyMap::localizedName(QString::fromLatin1(name)));
}

} // namespace

CornerActivationSheet::CornerActivationSheet(QWidget *parent)
    : QDialog(parent)
    , mCorner(new QComboBox)
    , mSuper(modifierBox("Command"))
    , mAlt(modifierBox("Option"))
    , mShift(modifierBox("Shift"))
{
    setWindowTitle(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("CornerActivationTitle")));
    setWindowModality(Qt::WindowModal);
    mCorner->setObjectName(QStringLiteral("corner"));
    mCorner->addItems(ShortcutSettings::cornerTitles());

    auto *modifiers = new QHBoxLayout;
    for (QCheckBox *box : {mSuper, mAlt, mShift})
        modifiers->addWidget(box);
    modifiers->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("CornerActivationCorner")),
                 mCorner);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("CornerActivationKeys")),
                 modifiers);

    // The agent asks for a key held in the corner, so that passing through it opens nothing.
    auto *hint = new QLabel(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("CornerActivationHint")));
    hint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    setMinimumWidth(400);
}

void CornerActivationSheet::load(const ShortcutSettings &settings)
{
    const int corner = settings.shortCutsMouseMenu;
    mCorner->setCurrentIndex(corner >= 0 && corner < mCorner->count() ? corner : -1);
    mSuper->setChecked(settings.shortCutsMouseCommandKey != 0);
    mAlt->setChecked(settings.shortCutsMouseOptionKey != 0);
    mShift->setChecked(settings.shortCutsMouseShiftKey != 0);
}

void CornerActivationSheet::applyTo(ShortcutSettings &settings) const
{
    if (mCorner->currentIndex() >= 0)
        settings.shortCutsMouseMenu = mCorner->currentIndex();
    settings.shortCutsMouseCommandKey = mSuper->isChecked() ? 1 : 0;
    settings.shortCutsMouseOptionKey = mAlt->isChecked() ? 1 : 0;
    settings.shortCutsMouseShiftKey = mShift->isChecked() ? 1 : 0;
}

int CornerActivationSheet::exec()
{
    QTimer::singleShot(0, this, &CornerActivationSheet::running);
    return QDialog::exec();
}
