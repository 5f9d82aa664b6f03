#pragma once

#include "KeyMap.h"

#include <QWidget>

class QLabel;
class MoreInfoView;

// The diagnostic window that shows what the agent sees of the keyboard.
class KeyDetectionWindow : public QWidget
{
    Q_OBJECT
public:
    explicit KeyDetectionWindow(QWidget *parent = nullptr);

    // Rewrites the information line with the names of the keys held, alternating its colour.
    void showKeys(const KeyMap &map);
    // Marks a recognised tap sequence.
    void showYes();
    // The diagnostic indicator (spinner, work in progress).
    void setIndicator(const QString &text, const QColor &color);

    QString informationText() const;
    MoreInfoView *moreInfoView() const { return mMoreInfoView; }

    static QString displayString(const KeyMap &map);

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *mInformation;
    QLabel *mIndicator;
    MoreInfoView *mMoreInfoView;
    bool mOrange = false;
};
