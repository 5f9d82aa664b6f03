#pragma once

#include <QIcon>
#include <QImage>
#include <QStyledItemDelegate>

#include <functional>

// Draws one row of the access window's table: the item's icon, its title, a second line that
// depends on the kind, and a small arrow on rows that have a floating menu.
class ItemCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 40;
    static constexpr int IconSize = 24;
    // The right border of a row whose clicks open the floating menu.
    static constexpr int MenuBorderWidth = 20;

    explicit ItemCell(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The title: "T"; a path's file name or a bookmark's address when there is none.
    static QString titleFor(const QVariantMap &record);
    // The second line by kind, on one line; empty when the kind has none.
    static QString secondLineFor(const QVariantMap &record);
    // Rows of these kinds have a floating menu, marked by the arrow.
    static bool hasFloatingMenu(int kind);
    // Kinds whose floating menu the right-arrow key opens.
    static bool isPathKind(int kind);

    // The icon of an item: from the desktop's icon theme for paths (the desktop entry's own Icon
    // for applications), the kind's image for the others. Cached.
    static QIcon iconFor(const QVariantMap &record);
    // A bookmark's site icon where one was fetched; a null icon draws the kind's image.
    static void setFaviconLookup(std::function<QIcon(const QString &address)> lookup);
    static QIcon iconForPath(const QString &path, int kind);
    // The text of a clipboard entry and, for pictures, the picture itself.
    struct ClipboardSummary {
        QString text;
        QImage picture;
    };
    static ClipboardSummary clipboardSummary(const QByteArray &packed);

    // The first of the names the desktop's icon theme has (many themes now ship only the
    // "-symbolic" names, which are tried too).
    static QIcon desktopIcon(const QStringList &names);
    // Without a desktop platform theme Qt looks only in hicolor, which holds few icons; Adwaita
    // is then the fallback. Called before the first icon is looked up.
    static void useDesktopIconTheme();
};
