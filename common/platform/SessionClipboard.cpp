#include "SessionClipboard.h"

#include "DisplayAvailability.h"
#include "KorvaleLog.h"
#include "WaylandConnection.h"
#include "WaylandDataControl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <memory>

namespace {

const QString TextPlain = QStringLiteral("text/plain");
const QString TextPlainUtf8 = QStringLiteral("text/plain;charset=utf-8");
// What Qt asks for when a program wants an image, whichever types the owner offers.
const QString QtImage = QStringLiteral("application/x-qt-image");
// The X11 names of plain text some programs still offer alone.
const QStringList X11Text = {QStringLiteral("UTF8_STRING"), QStringLiteral("STRING"),
                             QStringLiteral("TEXT")};

// The clipboard of the data control as Qt's programs read a clipboard: each type read from its
// owner once, when first asked for.
class DataControlMimeData final : public QMimeData
{
public:
    DataControlMimeData(WaylandDataControl &control, QStringList offered)
        : mControl(control)
        , mOffered(std::move(offered))
    {
    }

    QStringList formats() const override
    {
        QStringList formats = mOffered;
        if (!formats.contains(TextPlain) && !formats.contains(TextPlainUtf8)
            && !textSource().isEmpty())
            formats << TextPlain;
        if (!imageSource().isEmpty())
            formats << QtImage;
        return formats;
    }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType preferredType) const override
    {
        if (mimeType == QtImage) {
            const QString source = imageSource();
            const QByteArray bytes = source.isEmpty() ? QByteArray() : bytesOf(source);
            return bytes.isEmpty() ? QVariant() : QVariant(QImage::fromData(bytes));
        }
        QString source = mimeType;
        if (!mOffered.contains(source) && (mimeType == TextPlain || mimeType == TextPlainUtf8))
            source = textSource();
        if (source.isEmpty() || !mOffered.contains(source))
            return QVariant();
        const QByteArray bytes = bytesOf(source);
        if (preferredType.id() == QMetaType::QString && mimeType.startsWith(QLatin1String("text/")))
            return QString::fromUtf8(bytes);
        return bytes;
    }

private:
    QString textSource() const
    {
        for (const QString &type : QStringList{TextPlainUtf8, TextPlain} + X11Text) {
            if (mOffered.contains(type))
                return type;
        }
        return {};
    }

    QString imageSource() const
    {
        if (mOffered.contains(QStringLiteral("image/png")))
            return QStringLiteral("image/png");
        for (const QString &type : mOffered) {
            if (type.startsWith(QLatin1String("image/")))
                return type;
        }
        return {};
    }

    QByteArray bytesOf(const QString &type) const
    {
        auto cached = mRead.constFind(type);
        if (cached == mRead.cend())
            cached = mRead.insert(type, mControl.read(type).value_or(QByteArray()));
        return *cached;
    }

    WaylandDataControl &mControl;
    QStringList mOffered;
    mutable QHash<QString, QByteArray> mRead;
};

struct State {
    bool opened = false;
    std::unique_ptr<WaylandDataControl> control;
    std::unique_ptr<QMimeData> lastRead;
};

State &state()
{
    // Never destroyed: the session's Wayland connection it uses is gone by the static
    // destructors' turn.
    static State &state = *new State;
    if (!state.opened) {
        state.opened = true;
        if (DisplayAvailability::isWaylandSession()) {
            if (WaylandConnection *connection = WaylandConnection::session())
                state.control = WaylandDataControl::create(*connection);
            KorvaleLog::line(
                state.control
                    ? QStringLiteral("The clipboard is read and set through the compositor's %1")
                          .arg(state.control->protocolName())
                    : QStringLiteral("The compositor offers no clipboard data control: the "
                                     "clipboard is XWayland's, current while an X11 window has "
                                     "the focus"));
        }
    }
    return state;
}

QClipboard *qtClipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        ? QGuiApplication::clipboard()
        : nullptr;
}

} // namespace

WaylandDataControl *SessionClipboard::dataControl()
{
    return state().control.get();
}

bool SessionClipboard::currentOnlyWithFocus(
    bool waylandSession, const std::function<bool(const char *interfaceName)> &offers)
{
    return waylandSession && (!offers || !WaylandDataControl::isOffered(offers));
}

bool SessionClipboard::currentOnlyWithFocus(bool waylandSession)
{
    WaylandConnection *connection = waylandSession ? WaylandConnection::session() : nullptr;
    std::function<bool(const char *)> offers;
    if (connection)
        offers = [connection](const char *name) { return connection->offeredVersion(name) > 0; };
    return currentOnlyWithFocus(waylandSession, offers);
}

QString SessionClipboard::routeName()
{
    WaylandDataControl *control = dataControl();
    return control ? control->protocolName() : QStringLiteral("Qt");
}

const QMimeData *SessionClipboard::mimeData()
{
    State &current = state();
    if (current.control) {
        // What another program put there a moment ago is known after a round trip.
        current.lastRead = std::make_unique<DataControlMimeData>(*current.control,
                                                                 current.control->currentFormats());
        return current.lastRead.get();
    }
    QClipboard *board = qtClipboard();
    return board ? board->mimeData() : nullptr;
}

bool SessionClipboard::ownsClipboard()
{
    if (WaylandDataControl *control = dataControl())
        return control->ownsSelection();
    QClipboard *board = qtClipboard();
    return board && board->ownsClipboard();
}

void SessionClipboard::whenTaken(QObject *context, const std::function<void()> &lost)
{
    if (WaylandDataControl *control = dataControl()) {
        QObject::connect(control, &WaylandDataControl::selectionChanged, context, [control, lost] {
            if (!control->ownsSelection())
                lost();
        });
        return;
    }
    if (QClipboard *board = qtClipboard()) {
        QObject::connect(board, &QClipboard::changed, context,
                         [board, lost](QClipboard::Mode mode) {
                             if (mode == QClipboard::Clipboard && !board->ownsClipboard())
                                 lost();
                         });
    }
}

bool SessionClipboard::setMimeData(QMimeData *data)
{
    State &current = state();
    if (current.control)
        return current.control->setSelection(data);
    QClipboard *board = qtClipboard();
    if (!board) {
        delete data;
        return false;
    }
    board->setMimeData(data);
    return true;
}
