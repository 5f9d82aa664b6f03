#include "MoreInfoView.h"

#include "CommonKorvaleClass.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int CellWidth = 72;
constexpr int CellHeight = 20;
} // namespace

MoreInfoView::MoreInfoView(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

QSize MoreInfoView::sizeHint() const
{
    return {CellWidth * 9, CellHeight * (KeyMap::ByteCount + 1)};
}

void MoreInfoView::setKeyMap(const KeyMap &map)
{
    if (map == mKeyMap)
        return;
    mKeyMap = map;
    if (hasFocus())
        recordUnnamedKeys();
    update();
}

void MoreInfoView::keyPressEvent(QKeyEvent *event)
{
    mLastCharacters = event->text();
    // The map may already show the key: the keyboard thread and the key event race.
    recordUnnamedKeys();
    event->accept();
}

void MoreInfoView::recordUnnamedKeys()
{
    if (mLastCharacters.isEmpty())
        return;
    const auto &names = KeyMap::getKeysName();
    bool added = false;
    for (int keyCode = 0; keyCode < KeyMap::KeyCount; ++keyCode) {
        if (!mKeyMap.isKeyDown(keyCode))
            continue;
        const QString position = KeyMap::positionName(keyCode);
        if (names.contains(position) || mRecordedKeys.contains(position))
            continue;
        mRecordedKeys.insert(position, mLastCharacters);
        added = true;
    }
    if (added)
        KeysFile::save(
            mRecordedKeys,
            CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Keys));
}

void MoreInfoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    painter.setFont(small);
    const auto &names = KeyMap::getKeysName();
    const QColor grid(160, 160, 160);

    const auto cell = [](int row, int column) {
        return QRect(column * CellWidth, row * CellHeight, CellWidth, CellHeight);
    };
    for (int bit = 0; bit < 8; ++bit) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(cell(0, bit + 1), Qt::AlignCenter, QString::number(1 << bit));
    }
    for (int byteIndex = 0; byteIndex < KeyMap::ByteCount; ++byteIndex) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(cell(byteIndex + 1, 0), Qt::AlignCenter, QString::number(byteIndex));
        for (int bit = 0; bit < 8; ++bit) {
            const int keyCode = byteIndex * 8 + bit;
            const QRect rect = cell(byteIndex + 1, bit + 1);
            const QString position = KeyMap::positionName(byteIndex, 1 << bit);
            const auto named = names.constFind(position);
            if (mKeyMap.isKeyDown(keyCode))
                painter.fillRect(rect, QColor(255, 170, 170));
            else if (named == names.cend())
                painter.fillRect(rect, QColor(215, 215, 215));
            painter.setPen(grid);
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
            painter.setPen(named == names.cend() ? QColor(110, 110, 110) : QColor(Qt::black));
            painter.drawText(rect, Qt::AlignCenter,
                             named == names.cend() ? position : KeyMap::localizedName(*named));
        }
    }
}
