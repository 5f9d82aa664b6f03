#include "InstallerWindow.h"

#include "InstallScript.h"
#include "QOR_StringUtils.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKeyTable(QLatin1String(key),
                                                          InstallScriptReader::Table);
}

QLabel *wrappingLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setMinimumHeight(label->fontMetrics().lineSpacing() * 3);
    return label;
}

} // namespace

ProgressSheet::ProgressSheet(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("progressSheet"));
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(440);
    auto *layout = new QVBoxLayout(this);
    mTitle = new QLabel(this);
    QFont bold = mTitle->font();
    bold.setBold(true);
    mTitle->setFont(bold);
    auto *line = new QHBoxLayout;
    mInfo = new QLabel(this);
    mInfo->setMinimumWidth(300);
    mCounter = new QLabel(this);
    mCounter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    line->addWidget(mInfo, 1);
    line->addWidget(mCounter);
    mSummary = new QPlainTextEdit(this);
    mSummary->setReadOnly(true);
    mSummary->setMinimumHeight(140);
    mStopButton = new QPushButton(text("StopButton"), this);
    mStopButton->setObjectName(QStringLiteral("stopButton"));
    layout->addWidget(mTitle);
    layout->addLayout(line);
    layout->addWidget(mSummary, 1);
    layout->addWidget(mStopButton, 0, Qt::AlignRight);
}

InstallerWindow::InstallerWindow()
{
    setObjectName(QStringLiteral("installerWindow"));
    auto *outer = new QHBoxLayout(this);
    auto *main = new QVBoxLayout;
    outer->addLayout(main, 1);

    mAppIcon = new QLabel(this);
    mAppIcon->setAlignment(Qt::AlignCenter);
    mAppIcon->setFixedHeight(72);
    mAppName = new QLabel(this);
    QFont nameFont = mAppName->font();
    nameFont.setPointSize(20);
    mAppName->setFont(nameFont);
    mAppName->setAlignment(Qt::AlignCenter);
    mAppVersion = new QLabel(this);
    mAppVersion->setAlignment(Qt::AlignCenter);
    main->addWidget(mAppIcon);
    main->addWidget(mAppName);
    main->addWidget(mAppVersion);

    auto *sides = new QGridLayout;
    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    mInstallVersion = wrappingLabel(this);
    mUninstallVersion = wrappingLabel(this);
    mInstallButton = new QPushButton(text("InstallButton"), this);
    mInstallButton->setObjectName(QStringLiteral("installButton"));
    mUninstallButton = new QPushButton(text("UninstallButton"), this);
    mUninstallButton->setObjectName(QStringLiteral("uninstallButton"));
    mInstallInfoButton = new QPushButton(text("InformationButton"), this);
    mUninstallInfoButton = new QPushButton(text("InformationButton"), this);
    mRemoveSettingsOption = new QCheckBox(text("RemoveSettingsOption"), this);
    mRemoveSettingsOption->setObjectName(QStringLiteral("removeSettingsOption"));
    sides->addWidget(mInstallVersion, 0, 0);
    sides->addWidget(mInstallButton, 1, 0);
    sides->addWidget(mInstallInfoButton, 2, 0, Qt::AlignHCenter);
    sides->addWidget(separator, 0, 1, 4, 1);
    sides->addWidget(mUninstallVersion, 0, 2);
    sides->addWidget(mUninstallButton, 1, 2);
    sides->addWidget(mUninstallInfoButton, 2, 2, Qt::AlignHCenter);
    sides->addWidget(mRemoveSettingsOption, 3, 2, Qt::AlignHCenter);
    sides->setColumnStretch(0, 1);
    sides->setColumnStretch(2, 1);
    main->addSpacing(8);
    main->addLayout(sides);
    main->addStretch(1);

    auto *bottom = new QHBoxLayout;
    mNewsButton = new QPushButton(text("NewsButton"), this);
    mSettingsFolderButton = new QPushButton(text("SettingsFolderButton"), this);
    mStoreButton = new QPushButton(text("StoreButton"), this);
    mSimulateTrashErrorOption = new QCheckBox(text("SimulateTrashErrorOption"), this);
    bottom->addWidget(mNewsButton);
    bottom->addWidget(mSettingsFolderButton);
    bottom->addWidget(mStoreButton);
    bottom->addStretch(1);
    bottom->addWidget(mSimulateTrashErrorOption);
    main->addLayout(bottom);

    mInfoDrawer = new QPlainTextEdit(this);
    mInfoDrawer->setObjectName(QStringLiteral("infoDrawer"));
    mInfoDrawer->setReadOnly(true);
    mInfoDrawer->setFixedWidth(300);
    mInfoDrawer->hide();
    outer->addWidget(mInfoDrawer);

    mNewsWindow = new QWidget(this, Qt::Window);
    mNewsWindow->resize(520, 420);
    auto *newsLayout = new QVBoxLayout(mNewsWindow);
    mNewsText = new QTextBrowser(mNewsWindow);
    mNewsText->setOpenExternalLinks(true);
    newsLayout->addWidget(mNewsText);

    mProgressSheet = new ProgressSheet(this);
    setMinimumSize(460, 320);
}

void InstallerWindow::setDrawerOpen(bool open)
{
    if (open == mInfoDrawer->isVisible())
        return;
    const int change = mInfoDrawer->width() + layout()->spacing();
    mInfoDrawer->setVisible(open);
    resize(width() + (open ? change : -change), height());
}

void InstallerWindow::closeEvent(QCloseEvent *event)
{
    // The worker still runs under the sheet; the run's report ends the program.
    if (mProgressSheet->isVisible()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closedByUser();
}
