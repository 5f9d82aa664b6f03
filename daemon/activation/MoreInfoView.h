#pragma once

#include "KeyMap.h"

#include <QMap>
#include <QWidget>

// The raw key map as a grid: one row per byte, one column per bit mask, each cell labelled with
// the key's name (grey with its position name when the key has none) and light red while held.
// Typing into it while unnamed keys are held records what those keys produce, in "keys.txt".
class MoreInfoView : public QWidget
{
    Q_OBJECT
public:
    explicit MoreInfoView(QWidget *parent = nullptr);

    void setKeyMap(const KeyMap &map);
    KeyMap keyMap() const { return mKeyMap; }
    const QMap<QString, QString> &recordedKeys() const { return mRecordedKeys; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void recordUnnamedKeys();

    KeyMap mKeyMap;
    QString mLastCharacters;
    QMap<QString, QString> mRecordedKeys;
};
