#pragma once

#include <QDateTime>
#include <QDialog>

#include <optional>

class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QRadioButton;

// The date-change sheet: the reference item's modification date, the chosen date, whether every
// date becomes the chosen one or moves by the same amount, and whether folders' contents change
// too. The mode and the folder choice stay between runs; both dates are reset at each opening.
class DateSheet : public QDialog
{
    Q_OBJECT
public:
    explicit DateSheet(QWidget *parent = nullptr);

    struct Choice {
        QDateTime chosen;
        bool absolute = true;
        bool insideFolders = false;
        double variation = 0; // seconds from the reference date to the chosen one
    };

    std::optional<Choice> ask(const QDateTime &referenceDate);

    QDateTimeEdit *dateField() const { return mDate; }
    QRadioButton *absoluteButton() const { return mAbsolute; }
    QRadioButton *shiftButton() const { return mShift; }
    QCheckBox *insideFolderBox() const { return mInsideFolder; }
    QLabel *currentDateLabel() const { return mCurrentDate; }

signals:
    void running();

private:
    QLabel *mCurrentDate;
    QDateTimeEdit *mDate;
    QRadioButton *mAbsolute;
    QRadioButton *mShift;
    QCheckBox *mInsideFolder;
};
