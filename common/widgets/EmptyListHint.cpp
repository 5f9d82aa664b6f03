#include "EmptyListHint.h"

#include "QOR_StringUtils.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>

EmptyListHint *EmptyListHint::attach(QAbstractItemView *view, const QString &key, QLineEdit *search)
{
    return view ? new EmptyListHint(view, key, search) : nullptr;
}

EmptyListHint::EmptyListHint(QAbstractItemView *view, const QString &key, QLineEdit *search)
    : QLabel(view->viewport())
    , mView(view)
    , mKey(key)
    , mSearch(search)
{
    setObjectName(QStringLiteral("emptyListHint"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWordWrap(true);
    setMargin(16);
    setForegroundRole(QPalette::PlaceholderText);
    view->viewport()->installEventFilter(this);
    if (search)
        connect(search, &QLineEdit::textChanged, this, &EmptyListHint::refresh);
    watchModel();
    refresh();
}

void EmptyListHint::watchModel()
{
    QAbstractItemModel *model = mView->model();
    if (model == mWatched)
        return;
    if (mWatched)
        disconnect(mWatched, nullptr, this, nullptr);
    mWatched = model;
    if (!model)
        return;
    connect(model, &QAbstractItemModel::modelReset, this, &EmptyListHint::refresh);
    connect(model, &QAbstractItemModel::layoutChanged, this, &EmptyListHint::refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, &EmptyListHint::refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &EmptyListHint::refresh);
}

QString EmptyListHint::shownText() const
{
    if (!mView->model() || mView->model()->rowCount(mView->rootIndex()) > 0)
        return {};
    if (mSearch && !mSearch->text().isEmpty())
        return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("NoResultAvailable"));
    return QOR_StringUtils::getLocalizedStringForKey(mKey);
}

void EmptyListHint::refresh()
{
    watchModel();
    const QString text = shownText();
    setText(text);
    setGeometry(mView->viewport()->rect());
    setVisible(!text.isEmpty());
}

bool EmptyListHint::eventFilter(QObject *watched, QEvent *event)
{
    // A model set after the hint, and the viewport's size, are seen when the list shows.
    // The type first: a list being destroyed still sends its viewport's last events, when it is
    // no longer a list to ask for its viewport.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Show)
        && watched == mView->viewport())
        refresh();
    return false;
}
