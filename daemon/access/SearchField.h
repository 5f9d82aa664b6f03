#pragma once

#include <QLineEdit>
#include <QStringList>

#include <functional>

class QMenu;

// The access window's search field: white behind its text on every theme, a menu of the recent
// searches at its left end, and its command keys (Escape, Return, the arrows) offered to the
// window's controller before the ordinary editing. The window's key equivalents (its actions'
// shortcuts, Ctrl+U for the list update among them) win over the field's own editing keys.
class SearchField : public QLineEdit
{
    Q_OBJECT
public:
    // Returns true when it handled the key; otherwise the field edits as usual.
    using CommandHandler = std::function<bool(QKeyEvent *event)>;

    explicit SearchField(QWidget *parent = nullptr);

    void setCommandHandler(CommandHandler handler) { mHandler = std::move(handler); }

    void setRecentSearches(const QStringList &searches);
    QStringList recentSearches() const { return mRecentSearches; }
    QMenu *recentSearchesMenu() const { return mRecentMenu; }

    // Whether the key is the shortcut of one of the window's actions.
    bool isWindowKeyEquivalent(const QKeyEvent *event) const;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuildRecentMenu();

    CommandHandler mHandler;
    QStringList mRecentSearches;
    QMenu *mRecentMenu = nullptr;
    QAction *mRecentAction = nullptr;
};
