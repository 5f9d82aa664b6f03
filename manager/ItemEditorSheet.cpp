#include "ItemEditorSheet.h"

#include "ItemEditing.h"
#include "ItemRecord.h"
#include "KeyMap.h"
#include "QOR_StringUtils.h"
#include "ShortcutCaptureSheet.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using namespace ItemRecord;

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

ItemEditorSheet::ItemEditorSheet(QWidget *parent)
    : QDialog(parent)
    , mTitle(new QLineEdit)
    , mAbbreviation(new QLineEdit)
    , mKeywords(new QLineEdit)
    , mComment(new QLineEdit)
    , mShortcut(new QLabel)
    , mShortcutTitle(
          new QLabel(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorShortcut"))))
    , mAssign(new QPushButton)
    , mHideOthers(new QCheckBox(localized(QStringLiteral("EditorHideApps"))))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(localized(QStringLiteral("ItemEditorTitle")));
    mTitle->setObjectName(QStringLiteral("title"));
    mAbbreviation->setObjectName(QStringLiteral("abbreviation"));
    mKeywords->setObjectName(QStringLiteral("keywords"));
    mComment->setObjectName(QStringLiteral("comment"));
    mAssign->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorTitle")), mTitle);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorAbbreviation")),
                 mAbbreviation);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorKeywords")),
                 mKeywords);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorComment")),
                 mComment);
    auto *shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(mShortcut, 1);
    shortcutRow->addWidget(mAssign);
    form->addRow(mShortcutTitle, shortcutRow);
    form->addRow(QString(), mHideOthers);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mAssign, &QPushButton::clicked, this, [this] { done(AssignShortcutCode); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

void ItemEditorSheet::fill(const QVariantMap &record, bool titleEditable, bool allowShortcut)
{
    mTitle->setText(ItemEditing::initialTitle(record));
    mTitle->setReadOnly(!titleEditable);
    mAbbreviation->setText(record.value(KeyAbbreviation).toString());
    mKeywords->setText(record.value(KeyKeywords).toString());
    mComment->setText(record.value(KeyText).toString());
    mHideOthers->setChecked(record.value(KeyHideOthers).toInt() != 0);
    mShortcutTitle->setVisible(allowShortcut);
    mShortcut->setVisible(allowShortcut);
    mAssign->setVisible(allowShortcut);
    mHideOthers->setVisible(allowShortcut);
    (titleEditable ? mTitle : mAbbreviation)->setFocus();
}

void ItemEditorSheet::showShortcut(const QVariantMap &record)
{
    const std::optional<KeyMap> map = KeyMap::fromData(record.value(KeyShortcut).toByteArray());
    const bool set = map && !map->isEmpty();
    mShortcut->setText(set ? ShortcutCaptureSheet::keyNames(*map) : QString());
    mAssign->setText(localized(set ? QStringLiteral("AssignShortcutClearButton")
                                   : QStringLiteral("AssignShortcutButton")));
    mHideOthers->setEnabled(set);
}

std::optional<QVariantMap> ItemEditorSheet::edit(const QVariantMap &record, bool titleEditable,
                                                 bool allowShortcut, const CaptureShortcut &capture)
{
    // One edit at a time: a second would refill the fields of the one the user is looking at,
    // and its nested run could not start anyway.
    if (mEditing)
        return std::nullopt;
    mEditing = true;
    const auto endEdit = qScopeGuard([this] { mEditing = false; });
    QVariantMap copy = record;
    fill(copy, titleEditable, allowShortcut);
    for (;;) {
        if (allowShortcut)
            showShortcut(copy);
        // Queued: the run has begun once the signal arrives.
        QTimer::singleShot(0, this, &ItemEditorSheet::running);
        const int result = exec();
        if (result == AssignShortcutCode) {
            if (copy.contains(KeyShortcut)) {
                copy.remove(KeyShortcut);
            } else if (capture) {
                hide();
                if (const std::optional<KeyMap> keys = capture())
                    copy.insert(KeyShortcut, keys->toData());
            }
            continue;
        }
        const ItemEditorFields fields{mTitle->text(), mAbbreviation->text(), mKeywords->text(),
                                      mComment->text(), mHideOthers->isChecked()};
        const QVariantMap edited = ItemEditing::applyFields(copy, fields, titleEditable);
        for (QLineEdit *field : {mTitle, mAbbreviation, mKeywords, mComment})
            field->clear();
        mTitle->setReadOnly(false);
        if (result != QDialog::Accepted)
            return std::nullopt;
        return edited;
    }
}
