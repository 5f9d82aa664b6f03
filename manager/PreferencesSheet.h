#pragma once

#include <QDialog>
#include <QHash>

#include "WebKeywordSites.h"

class DesktopSearchPanel;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QTableWidget;
class SharedPreferences;

// The display and ranking options of the agent: window position, filter reset, the menu-bar
// Control-click, icons in menus, the key-detection window, the recording of application use, the
// switches of the answer families and of the desktop's search sources, the five priorities and
// the pointer highlight.
class PreferencesSheet : public QDialog
{
    Q_OBJECT
public:
    explicit PreferencesSheet(QWidget *parent = nullptr);

    // Each stored key sets its control, each absent one the agent's default (priorities 0, no
    // pointer highlight).
    void load(const SharedPreferences &preferences);
    // Every key, in order, then written through.
    void store(SharedPreferences &preferences) const;
    bool showKeysDetection() const;

    QCheckBox *box(const QString &key) const;
    QSpinBox *priority(const QString &key) const;
    QComboBox *revealCursor() const { return mRevealCursor; }
    // The web keywords as the table shows them, unusable rows included.
    QList<WebKeywordSites::Site> webKeywords() const;
    QTableWidget *webKeywordsTable() const { return mWebKeywords; }
    DesktopSearchPanel *desktopSearch() const { return mDesktopSearch; }

private:
    void addWebKeywordRow(const WebKeywordSites::Site &site);

    QList<QPair<QString, QCheckBox *>> mBoxes;
    QHash<QString, bool> mDefaultBoxes;
    QList<QPair<QString, QSpinBox *>> mPriorities;
    QComboBox *mRevealCursor;
    QTableWidget *mWebKeywords;
    DesktopSearchPanel *mDesktopSearch;
};
