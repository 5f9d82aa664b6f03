#include "SectionViews.h"

#include "ActivityIcons.h"
#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "WebSearch.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

using namespace ItemRecord;

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

QString lastComponent(const QString &path)
{
    const QString shown = QOR_StringUtils::localizedPath(path);
    return shown == QLatin1String("/") ? shown : QFileInfo(shown).fileName();
}

// A folder of the application scan by its path, the home folder as "~": the user's and the
// system's "applications" folders must not read alike.
QString folderRowText(const QVariant &folder)
{
    const QString path = QDir::cleanPath(folder.toString());
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home != QLatin1String("/")) {
        if (path == home)
            return QStringLiteral("~");
        if (path.startsWith(home + QLatin1Char('/')))
            return QStringLiteral("~") + path.mid(home.size());
    }
    return path;
}

QString recordTitle(const QVariant &value)
{
    const QVariantMap record = value.toMap();
    const QString title = record.value(KeyTitle).toString();
    return title.isEmpty() ? lastComponent(record.value(KeyPath).toString()) : title;
}

} // namespace

ApplicationFoldersView::ApplicationFoldersView(QWidget *parent)
    : ListSectionView(&folderRowText, parent)
{
    model()->setToolTip([](const QVariant &folder) { return folder.toString(); });
    acceptDroppedFiles(true);
    connect(addButton(QStringLiteral("ManagerAdd")), &QPushButton::clicked, this,
            &ApplicationFoldersView::addRequested);
    mRemove = addButton(QStringLiteral("ManagerRemove"));
    mRemove->setEnabled(false);
    connect(mRemove, &QPushButton::clicked, this, [this] { emit removeRequested(selectedRows()); });
    connect(this, &ListSectionView::selectionChanged, this,
            [this] { mRemove->setEnabled(!selectedRows().isEmpty()); });
}

void ApplicationFoldersView::setFolders(const QStringList &folders)
{
    QVariantList list;
    for (const QString &folder : folders)
        list << folder;
    model()->setList(list);
}

ApplicationsFoundView::ApplicationsFoundView(QWidget *parent)
    : ListSectionView(&recordTitle, parent)
    , mSearch(new QLineEdit)
    , mActivity(new QComboBox)
    , mCounter(new QLabel)
    , mActivityInfo(new QLabel)
    , mEmpty(new QLabel(localized(QStringLiteral("ManagerNoApplications"))))
{
    mSearch->setPlaceholderText(localized(QStringLiteral("ManagerSearch")));
    mSearch->setClearButtonEnabled(true);
    mSearch->setObjectName(QStringLiteral("search"));
    for (const QString &key :
         {KORVALE_KEY("SearchActivityAll"), KORVALE_KEY("SearchActivityNone"),
          KORVALE_KEY("SearchActivityVeryLow"), KORVALE_KEY("SearchActivityLow"),
          KORVALE_KEY("SearchActivityMiddle"), KORVALE_KEY("SearchActivityHigh")})
        mActivity->addItem(localized(key));
    // Past "all" and "none", each entry carries the picture of its level.
    for (int entry = ManagerListFilter::VeryLow; entry <= ManagerListFilter::High; ++entry)
        mActivity->setItemIcon(entry, ActivityIcons::icon(ManagerListFilter::Activity(entry)));
    mActivity->setObjectName(QStringLiteral("activity"));
    mCounter->setObjectName(QStringLiteral("counter"));
    mActivityInfo->setObjectName(QStringLiteral("activityInfo"));
    mActivityInfo->hide();
    mActivityInfo->installEventFilter(this);
    model()->setTrailingIcon([this](const QVariant &value) {
        if (mAppsActivity.isEmpty())
            return QIcon();
        return ActivityIcons::icon(ManagerListFilter::activityLevel(value.toMap(), mAppsActivity));
    });
    auto *bar = new QHBoxLayout;
    bar->addWidget(mSearch, 1);
    bar->addWidget(mActivity);
    bar->addWidget(mCounter);
    mainLayout()->insertLayout(0, bar);
    mainLayout()->insertWidget(1, mActivityInfo);

    mWebSearch = addButton(QStringLiteral("SearchOnWeb"));
    auto *services = new QMenu(mWebSearch);
    for (const WebSearch::Service &service : WebSearch::services()) {
        connect(services->addAction(localized(service.titleKey)), &QAction::triggered, this,
                [this, address = service.addressTemplate] {
                    const QList<int> rows = selectedRows();
                    if (!rows.isEmpty())
                        emit webSearchRequested(rows.first(), address);
                });
    }
    mWebSearch->setMenu(services);
    mWebSearch->setEnabled(false);
    mEdit = addEditButton();
    mRescan = new QAction(localized(QStringLiteral("ManagerRescanMenu")), this);
    mRescan->setObjectName(QStringLiteral("RescanApplications"));
    // The desktop's refresh key (F5, and Ctrl+R where it has that too).
    QList<QKeySequence> rescanKeys = QKeySequence::keyBindings(QKeySequence::Refresh);
    if (rescanKeys.isEmpty())
        rescanKeys << QKeySequence(Qt::Key_F5);
    mRescan->setShortcuts(rescanKeys);
    connect(mRescan, &QAction::triggered, this, &ApplicationsFoundView::rescanRequested);
    connect(addButton(QStringLiteral("ManagerRescan")), &QPushButton::clicked, mRescan,
            &QAction::trigger);
    connect(this, &ListSectionView::selectionChanged, this, [this] {
        mEdit->setEnabled(!selectedRows().isEmpty());
        mWebSearch->setEnabled(!selectedRows().isEmpty());
    });
    connect(mSearch, &QLineEdit::textChanged, this, &ApplicationsFoundView::filterChanged);
    connect(mActivity, &QComboBox::currentIndexChanged, this,
            &ApplicationsFoundView::filterChanged);

    // While nothing has been found, a line says why instead of an empty table.
    mEmpty->setWordWrap(true);
    mEmpty->setAlignment(Qt::AlignCenter);
    auto *pages = new QWidget;
    mPages = new QStackedLayout(pages);
    mainLayout()->removeWidget(page());
    mPages->addWidget(page());
    mPages->addWidget(mEmpty);
    mainLayout()->addWidget(pages, 1);
}

void ApplicationsFoundView::setApplications(const QVariantList &list, const QList<int> &shown,
                                            const QString &counter)
{
    model()->setList(list, shown);
    mCounter->setText(counter);
    mPages->setCurrentIndex(list.isEmpty() ? 1 : 0);
}

QString ApplicationsFoundView::searchText() const
{
    return mSearch->text();
}

void ApplicationsFoundView::clearSearch()
{
    mSearch->clear();
}

int ApplicationsFoundView::activityChoice() const
{
    return mActivity->currentIndex();
}

FilesView::FilesView(QWidget *parent)
    : ListSectionView(&recordTitle, parent)
{
    acceptDroppedFiles(true);
    // The desktop's file dialogs choose either files or folders: the button asks which first.
    QPushButton *add = addButton(QStringLiteral("ManagerAdd"));
    auto *choice = new QMenu(add);
    connect(choice->addAction(localized(QStringLiteral("ManagerAddFile"))), &QAction::triggered,
            this, [this] { emit addRequested(false); });
    connect(choice->addAction(localized(QStringLiteral("ManagerAddFolder"))), &QAction::triggered,
            this, [this] { emit addRequested(true); });
    add->setMenu(choice);
    mRemove = addButton(QStringLiteral("ManagerRemove"));
    mEdit = addEditButton();
    mInclude = addButton(QStringLiteral("IncludeContents"));
    connect(mRemove, &QPushButton::clicked, this, [this] { emit removeRequested(selectedRows()); });
    connect(mInclude, &QPushButton::clicked, this, [this] {
        const QList<int> rows = selectedRows();
        if (const std::optional<bool> included = folderContentsIncluded(rows))
            emit includeContentsRequested(rows, !*included);
    });
    // The box acts on folders only: it is offered while the selection holds one.
    connect(this, &ListSectionView::selectionChanged, this, [this] {
        const QList<int> rows = selectedRows();
        mRemove->setEnabled(!rows.isEmpty());
        mEdit->setEnabled(!rows.isEmpty());
        const std::optional<bool> included = folderContentsIncluded(rows);
        mInclude->setEnabled(included.has_value());
        mInclude->setText(localized(included.value_or(false) ? QStringLiteral("NoIncludeContents")
                                                             : QStringLiteral("IncludeContents")));
    });
    table()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table(), &QWidget::customContextMenuRequested, this, &FilesView::showContextMenu);
    // A Control-click is the one-button mouse's right click.
    table()->viewport()->installEventFilter(this);
    mRemove->setEnabled(false);
    mEdit->setEnabled(false);
    mInclude->setEnabled(false);
}

void ApplicationsFoundView::setActivityChoiceEnabled(bool enabled)
{
    mActivity->setEnabled(enabled);
}

void ApplicationsFoundView::setActivity(const ManagerListFilter::ActivityMap &activity)
{
    mAppsActivity = activity;
}

bool ApplicationsFoundView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mActivityInfo && event->type() == QEvent::MouseButtonRelease)
        emit activityRequested(static_cast<QMouseEvent *>(event)->modifiers());
    return ListSectionView::eventFilter(watched, event);
}

void ApplicationsFoundView::setActivityInfo(const QString &text)
{
    mActivityInfo->setText(text);
    mActivityInfo->setVisible(!text.isEmpty());
}

void FilesView::setFiles(const QVariantList &files)
{
    model()->setList(files);
}

std::optional<bool> FilesView::folderContentsIncluded(const QList<int> &rows) const
{
    for (int row : rows) {
        const QVariantMap record = model()->list().value(row).toMap();
        if (record.value(QStringLiteral("D")).toInt() != 0)
            return record.value(QStringLiteral("F")).toInt() != 0;
    }
    return std::nullopt;
}

std::unique_ptr<QMenu> FilesView::contextMenuForRow(int row)
{
    const QModelIndex index = table()->model()->index(row, 0);
    if (!index.isValid())
        return nullptr;
    if (!table()->selectionModel()->isSelected(index))
        table()->selectionModel()->select(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const std::optional<bool> included = folderContentsIncluded({row});
    if (!included)
        return nullptr;
    auto menu = std::make_unique<QMenu>();
    QAction *entry = menu->addAction(localized(*included ? QStringLiteral("NoIncludeContents")
                                                         : QStringLiteral("IncludeContents")));
    connect(entry, &QAction::triggered, this,
            [this, included] { emit includeContentsRequested(selectedRows(), !*included); });
    return menu;
}

bool FilesView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table()->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier) {
            showContextMenu(mouse->position().toPoint());
            return true;
        }
    }
    return ListSectionView::eventFilter(watched, event);
}

void FilesView::showContextMenu(const QPoint &position)
{
    const QModelIndex index = table()->indexAt(position);
    if (!index.isValid())
        return;
    if (const std::unique_ptr<QMenu> menu = contextMenuForRow(index.row()))
        menu->exec(table()->viewport()->mapToGlobal(position));
}
