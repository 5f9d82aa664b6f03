#include "ManagerWindow.h"

#include "QOR_StringUtils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace {

struct SectionLook {
    QString title;
    QString tooltip;
    const char *themeIcon;
    QStyle::StandardPixmap fallback;
};

// Theme icons where the desktop has them, the style's own otherwise.
const SectionLook &look(int section)
{
    static const SectionLook sections[ManagerWindow::SectionCount] = {
        {KORVALE_KEY("Welcome"), QString(), "user-home", QStyle::SP_DirHomeIcon},
        {KORVALE_KEY("QuickHelp"), KORVALE_KEY("QuickHelpTip"), "help-contents",
         QStyle::SP_DialogHelpButton},
        {KORVALE_KEY("ShortCut"), KORVALE_KEY("ShortCutTip"), "preferences-desktop-keyboard",
         QStyle::SP_ComputerIcon},
        {KORVALE_KEY("Applications"), KORVALE_KEY("ApplicationsTip"), "folder", QStyle::SP_DirIcon},
        {KORVALE_KEY("ApplicationsFound"), KORVALE_KEY("ApplicationsFoundTip"),
         "applications-other", QStyle::SP_DesktopIcon},
        {KORVALE_KEY("Files"), KORVALE_KEY("FilesTip"), "folder-documents", QStyle::SP_FileIcon},
        {KORVALE_KEY("ToDo"), KORVALE_KEY("ToDoTip"), "view-task", QStyle::SP_DialogApplyButton},
        {KORVALE_KEY("Reminder"), KORVALE_KEY("ReminderTip"), "appointment-new",
         QStyle::SP_MessageBoxInformation},
        {KORVALE_KEY("OtherData"), KORVALE_KEY("OtherDataTip"), "x-office-address-book",
         QStyle::SP_DriveNetIcon},
        {KORVALE_KEY("Notes"), KORVALE_KEY("NotesTip"), "accessories-text-editor",
         QStyle::SP_FileDialogDetailedView},
        {KORVALE_KEY("ProtectedNotes"), KORVALE_KEY("ProtectedNotesTip"), "dialog-password",
         QStyle::SP_MessageBoxWarning},
        {KORVALE_KEY("Clipboard"), KORVALE_KEY("ClipboardTip"), "edit-paste",
         QStyle::SP_FileDialogContentsView},
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
    mSections->setIconSize(QSize(24, 24));
    mSections->setUniformItemSizes(true);
    for (int section = 0; section < SectionCount; ++section) {
        const SectionLook &sectionLook = look(section);
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(sectionLook.themeIcon));
        if (icon.isNull())
            icon = style()->standardIcon(sectionLook.fallback);
        auto *item = new QListWidgetItem(icon, localized(sectionLook.title));
        if (!sectionLook.tooltip.isEmpty())
            item->setToolTip(localized(sectionLook.tooltip));
        mSections->addItem(item);
        mContent->addWidget(new QWidget);
    }
    // The divider moves between 140 and 220 pixels from the left.
    mSections->setMinimumWidth(DividerMinimum);
    mSections->setMaximumWidth(DividerMaximum);

    mSplitter->addWidget(mSections);
    mSplitter->addWidget(mContent);
    mSplitter->setStretchFactor(1, 1);
    mSplitter->setCollapsible(0, false);
    mSplitter->setSizes({180, 620});

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(mSplitter, 1);
    setCentralWidget(central);
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

void ManagerWindow::closeEvent(QCloseEvent *event)
{
    emit closed();
    QMainWindow::closeEvent(event);
}
