#pragma once

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

// The sheet shown over the window while a run goes on: what runs, the current step, the counter,
// every step's line so far, and Stop.
class ProgressSheet : public QDialog
{
    Q_OBJECT
public:
    explicit ProgressSheet(QWidget *parent);

    QLabel *mTitle;
    QLabel *mInfo;
    QLabel *mCounter;
    QPlainTextEdit *mSummary;
    QPushButton *mStopButton;

protected:
    // The run ends the sheet; Escape does not.
    void reject() override { }
};

// The installer's one window: the product, the two sides (install, uninstall) with the installed
// version, the information drawer and the news window.
class InstallerWindow : public QWidget
{
    Q_OBJECT
public:
    InstallerWindow();

    QLabel *mAppIcon;
    QLabel *mAppName;
    QLabel *mAppVersion;
    QLabel *mInstallVersion;
    QLabel *mUninstallVersion;
    QPushButton *mInstallButton;
    QPushButton *mUninstallButton;
    QPushButton *mInstallInfoButton;
    QPushButton *mUninstallInfoButton;
    QPushButton *mNewsButton;
    QPushButton *mSettingsFolderButton;
    QPushButton *mStoreButton;
    QCheckBox *mRemoveSettingsOption;
    QCheckBox *mSimulateTrashErrorOption;
    // The drawer: a panel on the window's right edge.
    QPlainTextEdit *mInfoDrawer;
    QWidget *mNewsWindow;
    QTextBrowser *mNewsText;
    ProgressSheet *mProgressSheet;

    void setDrawerOpen(bool open);

signals:
    void closedByUser();

protected:
    void closeEvent(QCloseEvent *event) override;
};
