#pragma once

#include <QWidget>

class QLabel;

// The welcome section: the suite, its version and how to begin.
class WelcomeView : public QWidget
{
    Q_OBJECT
public:
    explicit WelcomeView(QWidget *parent = nullptr);
    void setVersion(const QString &version);
    QString versionText() const;
    // The welcome text names the gesture that opens the access window now (empty: none).
    void setGesture(const QString &gesture);
    QString welcomeText() const;

private:
    QLabel *mVersion;
    QLabel *mText;
};

// The quick help section.
class QuickHelpView : public QWidget
{
    Q_OBJECT
public:
    explicit QuickHelpView(QWidget *parent = nullptr);
};

// The other data the agent reads from the user's own programs, switched on and off.
class OtherDataView : public QWidget
{
    Q_OBJECT
public:
    explicit OtherDataView(QWidget *parent = nullptr);

    struct Sources {
        bool bookmarks = false;
        bool favicons = false;
        bool addressBook = false;
        bool calendarEvents = false;
    };
    void setSources(const Sources &sources);
    Sources sources() const;
    class QCheckBox *box(int index) const;
    // The vCard and calendar files and folders read beside the desktop's own.
    class PathListEditor *contactsPaths() const { return mContactsPaths; }
    class PathListEditor *calendarPaths() const { return mCalendarPaths; }
    // The address books and calendars the agent found.
    class OtherDataSourcesPanel *sourcesPanel() const { return mSourcesPanel; }

signals:
    void changed();

private:
    QList<class QCheckBox *> mBoxes;
    class PathListEditor *mContactsPaths;
    class PathListEditor *mCalendarPaths;
    class OtherDataSourcesPanel *mSourcesPanel;
};
