#include "PathListEditor.h"

#include "QOR_StringUtils.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

} // namespace

PathListEditor::PathListEditor(const QString &title, const QString &fileFilter, QWidget *parent)
    : QWidget(parent)
    , mFileFilter(fileFilter)
    , mList(new QListWidget)
    , mRemove(new QPushButton(localized("PathListRemove")))
{
    setAcceptDrops(true);
    mList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mList->setMaximumHeight(90);
    auto *addFile = new QPushButton(localized("PathListAddFile"));
    auto *addFolder = new QPushButton(localized("PathListAddFolder"));
    mRemove->setEnabled(false);
    connect(mList, &QListWidget::itemSelectionChanged, this,
            [this] { mRemove->setEnabled(!mList->selectedItems().isEmpty()); });
    connect(addFile, &QPushButton::clicked, this, [this] {
        for (const QString &path :
             QFileDialog::getOpenFileNames(this, QString(), QDir::homePath(), mFileFilter))
            addPath(path);
    });
    connect(addFolder, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QString(), QDir::homePath());
        if (!folder.isEmpty())
            addPath(folder);
    });
    connect(mRemove, &QPushButton::clicked, this, &PathListEditor::removeSelected);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(addFile);
    buttons->addWidget(addFolder);
    buttons->addWidget(mRemove);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title));
    layout->addWidget(mList);
    layout->addLayout(buttons);
}

void PathListEditor::setPaths(const QStringList &paths)
{
    mList->clear();
    mList->addItems(paths);
}

QStringList PathListEditor::paths() const
{
    QStringList paths;
    for (int row = 0; row < mList->count(); ++row)
        paths << mList->item(row)->text();
    return paths;
}

bool PathListEditor::addPath(const QString &path)
{
    if (path.isEmpty() || paths().contains(path))
        return false;
    mList->addItem(path);
    emit changed(paths());
    return true;
}

void PathListEditor::removeSelected()
{
    const QList<QListWidgetItem *> selected = mList->selectedItems();
    if (selected.isEmpty())
        return;
    qDeleteAll(selected);
    emit changed(paths());
}

void PathListEditor::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PathListEditor::dropEvent(QDropEvent *event)
{
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            addPath(url.toLocalFile());
    }
    event->acceptProposedAction();
}
