#include "RenameSheet.h"

#include "NativeFileName.h"
#include "QOR_StringUtils.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

const QString RenameSheet::PlaceholderPath = QStringLiteral("%D ..... %X.ext");

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

} // namespace

RenameSheet::RenameSheet(QWidget *parent)
    : QDialog(parent)
    , mScheme(new QLineEdit(QStringLiteral("%N_%X")))
    , mFirstNumber(new QSpinBox)
    , mDigits(new QSpinBox)
    , mPreserveExtension(new QCheckBox(localized("BrowserRenameKeepExtension")))
    , mSample(new QLabel)
{
    setObjectName(QStringLiteral("renameSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(localized("RenameSheetTitle"));
    mScheme->setObjectName(QStringLiteral("scheme"));
    mFirstNumber->setObjectName(QStringLiteral("firstNumber"));
    mFirstNumber->setRange(0, std::numeric_limits<int>::max());
    mDigits->setObjectName(QStringLiteral("digits"));
    // Past 10 the number is cut to 10 digits anyway.
    mDigits->setRange(0, BatchRename::MaxDigits);
    mDigits->setValue(3);
    mPreserveExtension->setObjectName(QStringLiteral("preserveExtension"));
    mPreserveExtension->setChecked(true);
    mSample->setObjectName(QStringLiteral("sample"));
    mSample->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont sampleFont = mSample->font();
    sampleFont.setBold(true);
    mSample->setFont(sampleFont);

    auto *help = new QLabel(localized("BrowserRenameSchemeHelp"));
    help->setWordWrap(true);
    QFont hintFont = help->font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 0.9);
    help->setFont(hintFont);

    auto *form = new QFormLayout;
    form->addRow(localized("BrowserRenameScheme"), mScheme);
    form->addRow(QString(), help);
    form->addRow(localized("BrowserRenameFirstNumber"), mFirstNumber);
    form->addRow(localized("BrowserRenameDigits"), mDigits);
    form->addRow(QString(), mPreserveExtension);
    form->addRow(localized("BrowserRenameSample"), mSample);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(localized("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(localized("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    // The preview follows every change at once rather than by polling.
    connect(mScheme, &QLineEdit::textChanged, this, &RenameSheet::updateSample);
    connect(mFirstNumber, &QSpinBox::valueChanged, this, &RenameSheet::updateSample);
    connect(mDigits, &QSpinBox::valueChanged, this, &RenameSheet::updateSample);
    connect(mPreserveExtension, &QCheckBox::toggled, this, &RenameSheet::updateSample);
}

BatchRename::Scheme RenameSheet::scheme() const
{
    return {mScheme->text(), mFirstNumber->value(), BatchRename::digitCount(mDigits->value()),
            mPreserveExtension->isChecked()};
}

void RenameSheet::updateSample()
{
    if (mReferencePath.isEmpty())
        return;
    mSample->setText(NativeFileName::forDisplay(
        BatchRename::newNameForPath(mReferencePath, scheme(), scheme().firstNumber)));
}

std::optional<BatchRename::Scheme> RenameSheet::ask(const QString &referencePath, int selectedRows)
{
    mReferencePath = referencePath.isEmpty() ? PlaceholderPath : referencePath;
    mFirstNumber->setValue(1);
    mDigits->setValue(BatchRename::widenedDigits(mDigits->value(), selectedRows));
    updateSample();
    mScheme->setFocus();
    mScheme->selectAll();
    QTimer::singleShot(0, this, &RenameSheet::running);
    const int result = exec();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return scheme();
}
