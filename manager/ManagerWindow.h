#pragma once

#include <QMainWindow>

class QListWidget;
class QSplitter;
class QStackedWidget;

// The manager's main window: the twelve sections on the left, the selected section's view on
// the right, the agent's on/off box under the sections.
class ManagerWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum Section {
        Welcome,
        QuickHelp,
        ShortCut,
        Applications,
        ApplicationsFound,
        Files,
        ToDo,
        Reminder,
        OtherData,
        Notes,
        ProtectedNotes,
        Clipboard,
        SectionCount
    };
    // How far the divider moves right of the list's narrowest width.
    static constexpr int DividerTravel = 160;

    explicit ManagerWindow(QWidget *parent = nullptr);

    // The view shown for a section; the window takes it.
    void setSectionView(int section, QWidget *view);
    QWidget *sectionView(int section) const;
    void selectSection(int section);
    int currentSection() const;

    QListWidget *sectionList() const { return mSections; }
    QSplitter *splitter() const { return mSplitter; }
    // The narrowest the section list may be: its longest name and icon shown whole.
    int sectionNamesWidth() const;

    // The keys of a section's title and tooltip (empty: none).
    static QString titleKey(int section);
    static QString tooltipKey(int section);

signals:
    void sectionChanged(int section);
    void closed();
    // A use file ("ApplicationsUse.krvdata") dropped on the window.
    void fileDropped(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QListWidget *mSections;
    QStackedWidget *mContent;
    QSplitter *mSplitter;
};
