#pragma once

#include "ShortcutSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

// changeMouseActivationSettings: the screen corner that brings up the access window and the
// modifiers that must be held there.
class CornerActivationSheet : public QDialog
{
    Q_OBJECT
public:
    explicit CornerActivationSheet(QWidget *parent = nullptr);

    void load(const ShortcutSettings &settings);
    void applyTo(ShortcutSettings &settings) const;
    int exec() override;

    QComboBox *corner() const { return mCorner; }
    // Super, Alt and Shift, as stored under the Command, Option and Shift keys.
    QCheckBox *superBox() const { return mSuper; }
    QCheckBox *altBox() const { return mAlt; }
    QCheckBox *shiftBox() const { return mShift; }

signals:
    void running();

private:
    QComboBox *mCorner;
    QCheckBox *mSuper;
    QCheckBox *mAlt;
    QCheckBox *mShift;
};
