#include "QOR_WindowsUtils.h"

#include "SharedPreferences.h"

#include "FadeSteps.h"
#include "WindowOrder.h"

#include <QApplication>
#include <QEventLoop>
#include <QMargins>
#include <QScreen>

#include <algorithm>
#include <optional>

namespace {

// Runs the shake's moves one timer tick apart; moves are relative, so a window moved meanwhile
// (or shaken twice at once) still ends where it would have been.
class WindowShake : public WindowSteps
{
public:
    explicit WindowShake(QWidget *window)
        : WindowSteps(window)
    {
        const QList<int> offsets = FadeSteps::shakeOffsets();
        for (qsizetype i = 0; i < offsets.size(); ++i) {
            const int dx = offsets[i];
            const bool last = i == offsets.size() - 1;
            queue([this, dx] { this->window()->move(this->window()->pos() + QPoint(dx, 0)); },
                  last ? 0 : FadeSteps::ShakePauseMilliseconds);
        }
        start();
    }

protected:
    bool queueMoreSteps() override { return false; }
};

// Moves its window back on a screen when the window manager's decorations change its frame: a
// frame placed before it was shown was placed without its title bar.
class FrameKeeper : public QObject
{
public:
    explicit FrameKeeper(QWidget *window)
        : QObject(window)
        , mWindow(window)
    {
        setObjectName(QStringLiteral("korvaleFrameKeeper"));
        window->installEventFilter(this);
    }

    void keep()
    {
        mMargins = margins();
        const QRect frame = mWindow->frameGeometry();
        const QRect kept =
            QOR_WindowsUtils::frameKeptInside(frame, QOR_WindowsUtils::availableRoomFor(frame));
        if (kept.topLeft() != frame.topLeft())
            mWindow->move(kept.topLeft()); // move() places the frame, not the client area
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == mWindow
            && (event->type() == QEvent::Show
                || ((event->type() == QEvent::Move || event->type() == QEvent::Resize
                     || event->type() == QEvent::UpdateRequest)
                    && margins() != mMargins)))
            keep();
        return false;
    }

private:
    QMargins margins() const
    {
        const QRect inner = mWindow->geometry();
        const QRect outer = mWindow->frameGeometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    }

    QWidget *mWindow;
    QMargins mMargins;
};

} // namespace

QRect QOR_WindowsUtils::frameKeptInside(const QRect &frame, const QRect &room)
{
    if (room.isEmpty())
        return frame;
    QRect kept = frame;
    // Right and bottom edges first, so that the left and top ones win when the frame is larger.
    if (kept.right() > room.right())
        kept.moveRight(room.right());
    if (kept.bottom() > room.bottom())
        kept.moveBottom(room.bottom());
    if (kept.left() < room.left())
        kept.moveLeft(room.left());
    if (kept.top() < room.top())
        kept.moveTop(room.top());
    return kept;
}

QRect QOR_WindowsUtils::frameBeside(const QRect &anchor, const QSize &size, const QRect &room,
                                    int gap)
{
    QRect frame(QPoint(anchor.right() + 1 + gap, anchor.top()), size);
    if (room.isEmpty())
        return frame;
    if (frame.right() > room.right())
        frame.moveRight(anchor.left() - gap - 1);
    return frameKeptInside(frame, room);
}

namespace {

// The sizes laid along one direction (horizontal for a row) in `length`, the excess taken from
// each in turn down to its minimum; nothing when even the minimums do not fit.
std::optional<QList<QSize>> fittedAlong(QList<QSize> sizes, const QList<QSize> &minimums,
                                        int length, int gap, bool row)
{
    const auto along = [row](const QSize &size) { return row ? size.width() : size.height(); };
    const int count = int(sizes.size());
    int total = gap * (count - 1);
    for (const QSize &size : sizes)
        total += along(size);
    int over = total - length;
    for (int pass = 0; pass < 2 && over > 0; ++pass) {
        for (int i = 0; i < count && over > 0; ++i) {
            const int least = std::min(along(sizes.at(i)), along(minimums.value(i)));
            const int spare = along(sizes.at(i)) - least;
            const int share = pass == 0 ? (over + (count - i) - 1) / (count - i) : over;
            const int taken = std::min(spare, share);
            if (row)
                sizes[i].setWidth(sizes.at(i).width() - taken);
            else
                sizes[i].setHeight(sizes.at(i).height() - taken);
            over -= taken;
        }
    }
    if (over > 0)
        return std::nullopt;
    return sizes;
}

QList<QRect> laidAlong(const QList<QSize> &sizes, const QRect &room, int gap, bool row)
{
    int total = gap * (int(sizes.size()) - 1);
    int across = 0;
    for (const QSize &size : sizes) {
        total += row ? size.width() : size.height();
        across = std::max(across, row ? size.height() : size.width());
    }
    QPoint at = row ? QPoint(room.left() + (room.width() - total) / 2,
                             room.top() + (room.height() - across) / 2)
                    : QPoint(room.left() + (room.width() - across) / 2,
                             room.top() + (room.height() - total) / 2);
    QList<QRect> frames;
    for (const QSize &size : sizes) {
        frames << QRect(at, size);
        if (row)
            at.rx() += size.width() + gap;
        else
            at.ry() += size.height() + gap;
    }
    return frames;
}

} // namespace

QList<QRect> QOR_WindowsUtils::framesApart(const QList<QSize> &sizes, const QList<QSize> &minimums,
                                           const QRect &room, int gap)
{
    if (sizes.isEmpty() || room.isEmpty())
        return {};
    QList<QSize> kept;
    QList<QSize> least;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        least << minimums.value(i, QSize(0, 0)).boundedTo(room.size());
        kept << sizes.at(i).expandedTo(least.last()).boundedTo(room.size());
    }
    // Whole in a row, whole in a column, then narrowed in a row, then lowered in a column.
    const QList<QSize> none(kept.size(), QSize(1 << 20, 1 << 20));
    const std::pair<const QList<QSize> *, bool> tries[] = {
        {&none, true}, {&none, false}, {&least, true}, {&least, false}};
    for (const auto &[shrinkable, row] : tries) {
        if (const auto fitted =
                fittedAlong(kept, *shrinkable, row ? room.width() : room.height(), gap, row))
            return laidAlong(*fitted, room, gap, row);
    }
    // No way to keep them apart: cascaded from the room's top left, each whole.
    QList<QRect> frames;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const QPoint step(CascadeOffset * int(i), CascadeOffset * int(i));
        frames << frameKeptInside(QRect(room.topLeft() + step, kept.at(i)), room);
    }
    return frames;
}

void QOR_WindowsUtils::placeApart(const QList<QWidget *> &windows, const QWidget *decorated)
{
    QMargins decorations;
    if (decorated && decorated->isVisible()) {
        const QRect inner = decorated->geometry();
        const QRect outer = decorated->frameGeometry();
        decorations = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                               outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    QList<QSize> sizes;
    QList<QSize> minimums;
    for (const QWidget *window : windows) {
        sizes << window->size().grownBy(decorations);
        minimums
            << window->minimumSizeHint().expandedTo(window->minimumSize()).grownBy(decorations);
    }
    const QRect room = availableRoomFor(decorated ? decorated->frameGeometry() : getScreenRect());
    const QList<QRect> frames = framesApart(sizes, minimums, room, CascadeOffset);
    for (qsizetype i = 0; i < frames.size() && i < windows.size(); ++i) {
        QWidget *window = windows.at(i);
        window->resize(frames.at(i).size().shrunkBy(decorations));
        window->move(frames.at(i).topLeft()); // move() places the frame, not the client area
        keepFrameOnScreen(window);
    }
}

QRect QOR_WindowsUtils::availableRoomFor(const QRect &frame)
{
    const QScreen *best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(frame);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    if (!best)
        best = QGuiApplication::primaryScreen();
    return best ? best->availableGeometry() : QRect();
}

void QOR_WindowsUtils::keepFrameOnScreen(QWidget *window)
{
    if (!window)
        return;
    // Only FrameKeeper takes this name.
    auto *keeper = static_cast<FrameKeeper *>(window->findChild<QObject *>(
        QStringLiteral("korvaleFrameKeeper"), Qt::FindDirectChildrenOnly));
    if (!keeper)
        keeper = new FrameKeeper(window);
    keeper->keep();
}

QRect QOR_WindowsUtils::getScreenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return FadeSteps::usableScreenRect(screen->geometry(), screen->availableGeometry());
}

void QOR_WindowsUtils::placeWindow(QWidget *window, double fx, double fy)
{
    if (!window)
        return;
    const QPoint origin =
        FadeSteps::placedOrigin(getScreenRect(), window->frameGeometry().size(), fx, fy);
    if (window->pos() != origin)
        window->move(origin);
}

void QOR_WindowsUtils::centerWindow(QWidget *window)
{
    placeWindow(window, 0.5, 0.5);
}

void QOR_WindowsUtils::cascadeWindow(QWidget *window)
{
    if (!window)
        return;
    for (QWidget *other : WindowOrder::instance()->visibleWindowsFrontToBack()) {
        if (other != window && other->metaObject() == window->metaObject()) {
            window->move(other->pos() + QPoint(CascadeOffset, CascadeOffset));
            return;
        }
    }
}

QWidget *QOR_WindowsUtils::getFrontMostWindowOfClass(const QMetaObject &windowClass)
{
    for (QWidget *window : WindowOrder::instance()->visibleWindowsFrontToBack()) {
        if (windowClass.cast(window))
            return window;
    }
    return nullptr;
}

QWidget *QOR_WindowsUtils::getDelegateOfClassForWindow(const QMetaObject &windowClass,
                                                       QWidget *window)
{
    return window && windowClass.cast(window) ? window : nullptr;
}

void QOR_WindowsUtils::closeAllWindowsOfClass(const QMetaObject &windowClass)
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : WindowOrder::instance()->visibleWindowsFrontToBack()) {
        if (windowClass.cast(window))
            windows.prepend(window);
    }
    // A window's close handler may close or delete the others.
    for (const QPointer<QWidget> &window : windows) {
        if (window && window->isVisible())
            window->close();
    }
}

bool QOR_WindowsUtils::showAllVisibleWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : WindowOrder::instance()->visibleWindowsFrontToBack())
        windows.prepend(window);
    for (const QPointer<QWidget> &window : windows) {
        if (window)
            WindowFade::bringToFront(window);
    }
    return !windows.isEmpty();
}

void QOR_WindowsUtils::trackWindowOrder()
{
    WindowOrder::instance();
}

void QOR_WindowsUtils::shakeWindow(QWidget *window)
{
    if (window)
        new WindowShake(window);
}

void QOR_WindowsUtils::waitFor(WindowFade *fade)
{
    QEventLoop loop;
    QObject::connect(fade, &WindowSteps::finished, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QOR_WindowsUtils::showWindowSoft(QWidget *window, double alpha, double duration)
{
    if (!window)
        return;
    WindowFade::Plan plan;
    plan.fadeIn = true;
    plan.fadeInAlpha = alpha;
    plan.fadeInDuration = duration;
    waitFor(new WindowFade(window, plan));
}

void QOR_WindowsUtils::closeWindowSoft(QWidget *window, QWidget *otherWindow, double duration)
{
    if (!window)
        return;
    WindowFade::Plan plan;
    plan.fadeOut = true;
    plan.fadeOutDuration = duration;
    plan.otherWindow = otherWindow;
    waitFor(new WindowFade(window, plan));
}

void QOR_WindowsUtils::stopSoftFade(QWidget *window)
{
    WindowFade::cancelOn(window);
}

void QOR_WindowsUtils::setOverlayWindow(QWidget *window)
{
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint);
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Window managers keep notification windows above the others and never focus them.
    window->setAttribute(Qt::WA_X11NetWmWindowTypeNotification);
}

QString QOR_WindowsUtils::frameString(const QRect &frame)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

void QOR_WindowsUtils::storeFrame(SharedPreferences *preferences, const QString &key,
                                  const QRect &frame)
{
    if (!preferences)
        return;
    const QString text = frameString(frame);
    if (preferences->stringValue(key) == text)
        return;
    preferences->setValue(key, text);
    preferences->synchronize();
}

std::optional<QRect> QOR_WindowsUtils::storedFrame(SharedPreferences *preferences,
                                                   const QString &key)
{
    return preferences ? parseFrameString(preferences->stringValue(key).value_or(QString()))
                       : std::nullopt;
}

std::optional<QRect> QOR_WindowsUtils::parseFrameString(const QString &text)
{
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() < 4)
        return std::nullopt;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}
