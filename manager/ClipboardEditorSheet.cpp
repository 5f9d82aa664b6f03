#include "ClipboardEditorSheet.h"

#include "ClipboardView.h"
#include "CommonKorvaleClass.h"
#include "QOR_StringUtils.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

ClipboardEditorSheet::ClipboardEditorSheet(QWidget *parent)
    : QDialog(parent)
    , mTitle(new QLineEdit)
    , mPreview(new ClipboardView)
    , mPaste(new QPushButton(localized(QStringLiteral("ClipboardPasteButton"))))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(localized(QStringLiteral("Clipboard")));
    mTitle->setObjectName(QStringLiteral("title"));
    mPaste->setObjectName(QStringLiteral("paste"));
    mPaste->setAutoDefault(false);
    mPaste->setToolTip(localized(QStringLiteral("ClipboardPasteTip")));
    connect(mPaste, &QPushButton::clicked, this, &ClipboardEditorSheet::editClipboardPaste);

    auto *form = new QFormLayout;
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorTitle")), mTitle);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(mPaste, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mPreview, 1);
    layout->addWidget(buttons);
    setMinimumSize(460, 340);
}

void ClipboardEditorSheet::editClipboardPaste()
{
    if (const std::optional<QString> text = CommonKorvaleClass::getStringFromPasteboard())
        mTitle->setText(*text);
    mPreview->setPasteboard(std::nullopt);
}

std::optional<ClipboardEditorSheet::Result>
ClipboardEditorSheet::edit(const QString &title, const std::optional<QByteArray> &packed)
{
    mTitle->setText(title);
    mPreview->setPasteboard(packed);
    mTitle->setFocus();
    QTimer::singleShot(0, this, &ClipboardEditorSheet::running);
    const int result = exec();
    Result edited{mTitle->text(), mPreview->clipboard()};
    mTitle->clear();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return edited;
}
