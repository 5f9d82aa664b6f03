#pragma once

#include "KeyMap.h"
#include "ShortcutSettings.h"

#include <QDialog>

class KeyCombinationCapture;
class KeyMapSource;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// changeKeyActivationSettings: how the keyboard brings up the access window, either a modifier
// tapped two or more times or a combination of the user's own, read live from the keyboard.
class KeyActivationSheet : public QDialog
{
    Q_OBJECT
public:
    KeyActivationSheet(KeyMapSource *keyboard, QWidget *parent = nullptr);

    // The sheet's controls from the stored section; polling starts from its combination.
    void load(const ShortcutSettings &settings);
    // OK: the choices and the taken combination into the section.
    void applyTo(ShortcutSettings &settings) const;
    int exec() override;

    QComboBox *modifier() const { return mModifier; }
    QComboBox *repetition() const { return mRepetition; }
    QRadioButton *predefinedMode() const { return mPredefined; }
    QRadioButton *personalMode() const { return mPersonal; }
    KeyCombinationCapture *capture() const { return mCapture; }
    QString shownKeys() const;

signals:
    // The sheet is up, for whoever drives it without a user.
    void running();

private:
    void updateEnabled();

    KeyCombinationCapture *mCapture;
    QComboBox *mModifier;
    QComboBox *mRepetition;
    QRadioButton *mPredefined;
    QRadioButton *mPersonal;
    QLabel *mKeys;
    QPushButton *mTake;
    KeyMap mInitial;
};
