#include "ManagerWindow.h"

#include "CommonKorvaleClass.h"
#include "QOR_StringUtils.h"
#include "SectionIcons.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

struct SectionLook {
    QString title;
    QString tooltip;
};

const SectionLook &look(int section)
{
    static const SectionLook sections[ManagerWindow::SectionCount] = {
        {KORVALE_KEY("Welcome"), QString()},
        {KORVALE_KEY("QuickHelp"), KORVALE_KEY("QuickHelpTip")},
        {KORVALE_KEY("ShortCut"), KORVALE_KEY("ShortCutTip")},
        {KORVALE_KEY("Applications"), KORVALE_KEY("ApplicationsTip")},
        {KORVALE_KEY("ApplicationsFound"), KORVALE_KEY("ApplicationsFoundTip")},
        {KORVALE_KEY("Files"), KORVALE_KEY("FilesTip")},
        {KORVALE_KEY("ToDo"), KORVALE_KEY("ToDoTip")},
        {KORVALE_KEY("Reminder"), KORVALE_KEY("ReminderTip")},
        {KORVALE_KEY("OtherData"), KORVALE_KEY("OtherDataTip")},
        {KORVALE_KEY("Notes"), KORVALE_KEY("NotesTip")},
        {KORVALE_KEY("ProtectedNotes"), KORVALE_KEY("ProtectedNotesTip")},
        {KORVALE_KEY("Clipboard"), KORVALE_KEY("ClipboardTip")},
    };
    return sections[section];
}

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

QString ManagerWindow::titleKey(int section)
{
    return section >= 0 && section < SectionCount ? look(section).title : QString();
}

QString ManagerWindow::tooltipKey(int section)
{
    return section >= 0 && section < SectionCount ? look(section).tooltip : QString();
}

ManagerWindow::ManagerWindow(QWidget *parent)
    : QMainWindow(parent)
    , mSections(new QListWidget)
    , mContent(new QStackedWidget)
    , mSplitter(new QSplitter(Qt::Horizontal))
{
    setWindowTitle(QStringLiteral("Korvale"));
    setObjectName(QStringLiteral("mainWindow"));
    mSections->setObjectName(QStringLiteral("sections"));
    mSections->setIconSize(QSize(SectionIcons::Size, SectionIcons::Size));
    mSections->setUniformItemSizes(true);
    for (int section = 0; section < SectionCount; ++section) {
        const SectionLook &sectionLook = look(section);
        auto *item = new QListWidgetItem(SectionIcons::icon(section), localized(sectionLook.title));
        if (!sectionLook.tooltip.isEmpty())
            item->setToolTip(localized(sectionLook.tooltip));
        mSections->addItem(item);
        mContent->addWidget(new QWidget);
    }
    // The list is never narrower than its longest name in the user's language, so no name is
    // cut, and the divider can take it some way further.
    const int namesWidth = sectionNamesWidth();
    mSections->setMinimumWidth(namesWidth);
    mSections->setMaximumWidth(namesWidth + DividerTravel);

    mSplitter->addWidget(mSections);
    mSplitter->addWidget(mContent);
    mSplitter->setStretchFactor(1, 1);
    mSplitter->setCollapsible(0, false);
    mSplitter->setSizes({namesWidth + DividerTravel / 4, 620});

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(mSplitter, 1);
    setCentralWidget(central);
    // A use file dropped anywhere the sections do not take it opens its activity.
    setAcceptDrops(true);
    resize(820, 560);

    connect(mSections, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        mContent->setCurrentIndex(row);
        emit sectionChanged(row);
    });
}

void ManagerWindow::setSectionView(int section, QWidget *view)
{
    if (section < 0 || section >= SectionCount)
        return;
    QWidget *old = mContent->widget(section);
    mContent->insertWidget(section, view);
    mContent->removeWidget(old);
    delete old;
    if (mSections->currentRow() == section)
        mContent->setCurrentIndex(section);
}

int ManagerWindow::sectionNamesWidth() const
{
    // The items' own widths (icon, spacing and name as the style draws them), the list's
    // frame, and room for a scroll bar in a short window.
    return mSections->sizeHintForColumn(0) + 2 * mSections->frameWidth()
        + mSections->verticalScrollBar()->sizeHint().width() + 4;
}

QWidget *ManagerWindow::sectionView(int section) const
{
    return mContent->widget(section);
}

void ManagerWindow::selectSection(int section)
{
    if (section >= 0 && section < SectionCount)
        mSections->setCurrentRow(section);
}

int ManagerWindow::currentSection() const
{
    return mSections->currentRow();
}

void ManagerWindow::showEvent(QShowEvent *event)
{
    // The widest section sets the content's minimum; a window only that wide would hold the
    // divider at the list's narrowest, so it opens wide enough for the divider to travel, as far
    // as the screen allows.
    int roomy = minimumSizeHint().width() + DividerTravel;
    if (const QScreen *display = screen())
        roomy = qMax(minimumSizeHint().width(), qMin(roomy, display->availableGeometry().width()));
    if (width() < roomy)
        resize(roomy, height());
    QMainWindow::showEvent(event);
}

void ManagerWindow::closeEvent(QCloseEvent *event)
{
    emit closed();
    QMainWindow::closeEvent(event);
}

namespace {

// The use files among what is dragged: the window takes nothing else.
QStringList useFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile()
            && QFileInfo(url.toLocalFile()).fileName() == DataFileName::ApplicationsUse)
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void ManagerWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!useFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void ManagerWindow::dropEvent(QDropEvent *event)
{
    const QStringList paths = useFiles(event->mimeData());
    if (paths.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    emit fileDropped(paths.first());
}
