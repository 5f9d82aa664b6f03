#pragma once

#include "ClipboardStore.h"

#include <QList>
#include <QObject>
#include <QVariantList>

#include <memory>

class ClipboardEditorSheet;
class ClipboardSectionView;
class NotificationCenter;
class QWidget;

// The manager's clipboard section: the entries, the filtered rows the table shows, and the
// editor. Another program (korvale-clipboard) may change the file meanwhile: each change starts
// from the file as it is now, so neither side's entries are lost.
class ClipboardSection : public QObject
{
    Q_OBJECT
public:
    ClipboardSection(NotificationCenter &notifications, QWidget *sheetParent,
                     QObject *parent = nullptr);
    ~ClipboardSection() override;

    ClipboardSectionView *view() const { return mView; }
    ClipboardEditorSheet *editor();

    void load();
    // The file was changed by another program: shown again, the filter kept.
    void reloadIfChanged();

    void addClipboard();
    void editClipboard(int row);
    void removeClipboard(const QList<int> &rows);
    void searchClipboard();

    const QVariantList &entries() const { return mListOfClipboard; }
    const QList<int> &entriesDisplayed() const { return mListOfClipboardDisplayed; }

private:
    void refreshFromDisk();
    void store();
    // A password manager's secret is no entry: the user is told why nothing was kept.
    void refuseSecret();

    NotificationCenter &mNotifications;
    QWidget *mSheetParent;
    ClipboardSectionView *mView;
    std::unique_ptr<ClipboardEditorSheet> mEditor;
    ClipboardStore mStore;
    QVariantList mListOfClipboard;
    QList<int> mListOfClipboardDisplayed;
};
