#pragma once

#include "BatchRename.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The rename sheet: the naming scheme, the first number, the digit count and the kept
// extension, with the new name of the reference item shown as the user types. The scheme, the
// digit count and the extension choice stay between runs; the first number starts at 1 each
// time.
class RenameSheet : public QDialog
{
    Q_OBJECT
public:
    explicit RenameSheet(QWidget *parent = nullptr);

    // Opens the sheet for `selectedRows` rows with the reference item at `referencePath` (the
    // placeholder "%D ..... %X.ext" without one); the scheme when OK was chosen.
    std::optional<BatchRename::Scheme> ask(const QString &referencePath, int selectedRows);

    BatchRename::Scheme scheme() const;
    QLineEdit *schemeField() const { return mScheme; }
    QSpinBox *firstNumberField() const { return mFirstNumber; }
    QSpinBox *digitsField() const { return mDigits; }
    QCheckBox *preserveExtensionBox() const { return mPreserveExtension; }
    QLabel *sample() const { return mSample; }

    static const QString PlaceholderPath;

signals:
    // The sheet is up and waiting (tests fill it from here).
    void running();

private:
    void updateSample();

    QLineEdit *mScheme;
    QSpinBox *mFirstNumber;
    QSpinBox *mDigits;
    QCheckBox *mPreserveExtension;
    QLabel *mSample;
    QString mReferencePath;
};
