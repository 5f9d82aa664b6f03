#include "FileEditorWindow.h"

#include "DateFields.h"
#include "QOR_StringUtils.h"
#include "WindowFocus.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool copyTree(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (info.isSymLink())
        return QFile::link(info.symLinkTarget(), to);
    if (!info.isDir())
        return QFile::copy(from, to);
    if (!QDir().mkdir(to))
        return false;
    QFile::setPermissions(to, info.permissions());
    const QDir folder(from);
    const QStringList names =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (!copyTree(folder.filePath(name), to + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

} // namespace

FileEditorWindow::FileEditorWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
    , mName(new QLineEdit(this))
    , mFolder(new QLabel(this))
    , mDate(new QDateTimeEdit(this))
    , mChangeDate(new QPushButton(this))
    , mDuplicate(new QPushButton(this))
{
    setWindowTitle(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorWindowTitle")));
    mFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mFolder->setWordWrap(true);
    mDate->setCalendarPopup(true);
    DateFields::useFormatter(mDate, QOR_StringUtils::getShortTimeDateFormatter());
    mChangeDate->setText(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorChangeDate")));
    mDuplicate->setText(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorDuplicate")));

    auto *form = new QFormLayout;
    form->addRow(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorFolder")),
                 mFolder);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(mDate, 1);
    dateRow->addWidget(mChangeDate);
    form->addRow(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorDate")),
                 dateRow);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(mName, 1);
    nameRow->addWidget(mDuplicate);
    form->addRow(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorName")),
                 nameRow);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    setMinimumWidth(460);

    connect(mChangeDate, &QPushButton::clicked, this, &FileEditorWindow::changeDate);
    connect(mDuplicate, &QPushButton::clicked, this, &FileEditorWindow::changeDuplicate);
    connect(mName, &QLineEdit::returnPressed, this, &FileEditorWindow::changeDuplicate);
    auto *close = new QShortcut(QKeySequence::Cancel, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QString FileEditorWindow::proposedDuplicateName(const QString &fileName)
{
    // The extension is what follows the last dot, unless the name begins there.
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0;
    QString base = hasExtension ? fileName.left(dot) : fileName;
    const QString extension = hasExtension ? fileName.mid(dot) : QString();
    const QChar last = base.isEmpty() ? QChar() : base.back();
    if (last >= QLatin1Char('0') && last <= QLatin1Char('8'))
        base.back() = QChar(last.unicode() + 1);
    else
        base += QStringLiteral(" 2");
    return base + extension;
}

bool FileEditorWindow::setModificationDate(const QString &path, const QDateTime &date)
{
    if (path.isEmpty() || !date.isValid())
        return false;
    // Folders too, which QFile cannot open; the access time is left alone.
    const qint64 ms = date.toMSecsSinceEpoch();
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(ms / 1000);
    times[1].tv_nsec = long((ms % 1000) * 1000000);
    if (times[1].tv_nsec < 0) {
        times[1].tv_sec -= 1;
        times[1].tv_nsec += 1000000000;
    }
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

bool FileEditorWindow::duplicate(const QString &path, const QString &target)
{
    const QFileInfo source(path);
    if (!source.exists() && !source.isSymLink())
        return false;
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return false;
    if (copyTree(path, target))
        return true;
    // Half a folder under the new name would pass for a copy.
    if (source.isDir() && !source.isSymLink())
        QDir(target).removeRecursively();
    else
        QFile::remove(target);
    return false;
}

bool FileEditorWindow::edit(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    mPath = path;
    const QDateTime modified = info.lastModified();
    mDate->setDateTime(modified.isValid() ? modified : QDateTime::currentDateTime());
    mName->setText(proposedDuplicateName(info.fileName()));
    mFolder->setText(QOR_StringUtils::localizedPath(info.absolutePath()));
    setWindowTitle(QStringLiteral("%1 — %2").arg(
        QOR_StringUtils::localizedNameAtPath(path),
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FileEditorWindowTitle"))));
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    WindowFocus::bringToFront(this);
    mName->setFocus();
    mName->selectAll();
    return true;
}

void FileEditorWindow::changeDate()
{
    const QFileInfo info(mPath);
    if (mPath.isEmpty() || !info.exists())
        return;
    if (!setModificationDate(mPath, mDate->dateTime()))
        mDate->setDateTime(info.lastModified());
}

void FileEditorWindow::changeDuplicate()
{
    const QString name = mName->text();
    if (mPath.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')))
        return;
    duplicate(mPath, QFileInfo(mPath).absolutePath() + QLatin1Char('/') + name);
}
