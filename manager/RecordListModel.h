#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QList>
#include <QVariantList>

#include <functional>
#include <optional>

// One of the manager's lists as a table: every record, or only the rows a filter left, in
// order. The controller hands it the list each time it changed (a shared copy, not a deep one).
class RecordListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { RecordRole = Qt::UserRole + 1, SourceIndexRole, TrailingIconRole };

    // Text of a row for the default display role.
    using Display = std::function<QString(const QVariant &)>;

    explicit RecordListModel(Display display, QObject *parent = nullptr);

    // Every record is a row unless shown rows are given.
    void setList(const QVariantList &list, const std::optional<QList<int>> &shown = {});
    const QVariantList &list() const { return mList; }
    // The index into the list that a row shows; -1 outside.
    int sourceIndex(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // File names dropped on the table: the controller decides what to keep.
    QStringList mimeTypes() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDropActions() const override;
    void setDropHandler(std::function<void(const QStringList &)> handler)
    {
        mDropHandler = std::move(handler);
    }
    // Text of a row's tooltip; none by default.
    void setToolTip(Display toolTip) { mToolTip = std::move(toolTip); }
    // Lists whose records are not files (notes) give every row the same icon.
    void setRowIcon(const QIcon &icon) { mRowIcon = icon; }
    // A small picture drawn at the right end of a row (the applications' activity level).
    using Picture = std::function<QIcon(const QVariant &)>;
    void setTrailingIcon(Picture picture) { mTrailingIcon = std::move(picture); }

private:
    QVariantList mList;
    std::optional<QList<int>> mShown;
    Display mDisplay;
    Display mToolTip;
    std::function<void(const QStringList &)> mDropHandler;
    QIcon mRowIcon;
    Picture mTrailingIcon;
};
