#pragma once

#include <QListView>

// The access window's one-column table of found items. The keys and clicks that mean more than
// moving the selection are handed to the window's controller as signals.
class TableView : public QListView
{
    Q_OBJECT
public:
    explicit TableView(QWidget *parent = nullptr);

    // The text drawn when there is no row ("NoResultAvailable").
    void setEmptyText(const QString &text);
    QString emptyText() const { return mEmptyText; }
    // A smaller line under the empty-list text: how the list shown gets its first entry.
    void setEmptyHint(const QString &text);
    QString emptyHint() const { return mEmptyHint; }
    // Where the empty text is drawn, in the table's coordinates; for the tests.
    QRect emptyTextRect() const;

    int selectedRow() const;
    void selectRow(int row);
    // The point at the right end of a row where its floating menu opens, global coordinates.
    QPoint menuPointForRow(int row) const;
    // A new list starts at its top: left at the end of the last one, the view would take the
    // shrunk scroll range's end for a scroll to the end and ask for more rows.
    void reset() override;

signals:
    void spacePressed();
    void returnPressed();
    void escapePressed();
    void tabPressed();
    void rightArrowPressed();
    // A click in the right border, a Control-click or a right click on a row.
    void floatingMenuRequested(int row, const QPoint &globalPosition, bool rightBorder);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Asks the model for the rows it has not given yet up to row; whether row is there now.
    bool fetchRowsThrough(int row);

    QString mEmptyText;
    QString mEmptyHint;
};
