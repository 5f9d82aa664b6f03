#pragma once

#include <QByteArray>
#include <QDialog>

#include <optional>

class ClipboardView;
class QLineEdit;
class QPushButton;

// The editor of a clipboard entry: its title and a preview of its contents, with a button that
// takes the clipboard's contents (and text, as the title) in their place.
class ClipboardEditorSheet : public QDialog
{
    Q_OBJECT
public:
    struct Result {
        QString title;
        std::optional<QByteArray> packed;
    };

    explicit ClipboardEditorSheet(QWidget *parent = nullptr);

    // Nothing for packed: the clipboard now. Nothing back on Cancel.
    std::optional<Result> edit(const QString &title, const std::optional<QByteArray> &packed);

    // editClipboardPaste: the paste button.
    void editClipboardPaste();

    QLineEdit *titleField() const { return mTitle; }
    ClipboardView *preview() const { return mPreview; }
    QPushButton *pasteButton() const { return mPaste; }

signals:
    // Each run, once the fields are filled: where tests step in.
    void running();

private:
    QLineEdit *mTitle;
    ClipboardView *mPreview;
    QPushButton *mPaste;
};
