#include "DeferredIcon.h"

#include <QIconEngine>
#include <QPainter>

#include <memory>

namespace {

struct DeferredImage {
    std::function<QIcon()> build;
    std::function<void()> firstDrawn;
    QIcon icon;
    bool built = false;

    const QIcon &get()
    {
        if (!built) {
            built = true;
            icon = build();
            build = nullptr;
            // Last: the callback may ask for the icon again.
            if (std::function<void()> drawn = std::move(firstDrawn))
                drawn();
        }
        return icon;
    }
};

class DeferredIconEngine final : public QIconEngine
{
public:
    explicit DeferredIconEngine(std::shared_ptr<DeferredImage> image)
        : mImage(std::move(image))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        mImage->get().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return mImage->get().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return mImage->get().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        // The size is in device pixels already; QIcon sets the ratio on what comes back.
        Q_UNUSED(scale);
        return mImage->get().pixmap(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return mImage->get().availableSizes(mode, state);
    }
    // Known to exist: asking must not make it.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("KorvaleDeferredIcon"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(mImage); }

private:
    std::shared_ptr<DeferredImage> mImage;
};

} // namespace

QIcon DeferredIcon::make(std::function<QIcon()> build, std::function<void()> firstDrawn)
{
    auto image = std::make_shared<DeferredImage>();
    image->build = std::move(build);
    image->firstDrawn = std::move(firstDrawn);
    return QIcon(new DeferredIconEngine(std::move(image)));
}
