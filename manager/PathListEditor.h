#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;
class QPushButton;

// A short list of files and folders the user adds by hand, with Add File…, Add Folder… and
// Remove; folders dropped on it are added too.
class PathListEditor : public QWidget
{
    Q_OBJECT
public:
    // `fileFilter` as for the file dialog ("vCard files (*.vcf)").
    PathListEditor(const QString &title, const QString &fileFilter, QWidget *parent = nullptr);

    void setPaths(const QStringList &paths);
    QStringList paths() const;
    // Each path once; false when it was already listed.
    bool addPath(const QString &path);
    void removeSelected();
    QListWidget *list() const { return mList; }

signals:
    void changed(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QString mFileFilter;
    QListWidget *mList;
    QPushButton *mRemove;
};
