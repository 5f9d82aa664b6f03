#pragma once

#include <QDialog>
#include <QVariantMap>

#include <functional>
#include <optional>

class KeyMap;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The item editor: title, abbreviation, keywords, comment and, for the lists that allow one, the
// shortcut with its "hide the other applications" box.
class ItemEditorSheet : public QDialog
{
    Q_OBJECT
public:
    // The assign button ends a run with this code (sheetSetShortCut:).
    static constexpr int AssignShortcutCode = 53;

    // Runs the capture sheet; nothing when it was cancelled.
    using CaptureShortcut = std::function<std::optional<KeyMap>()>;

    explicit ItemEditorSheet(QWidget *parent = nullptr);

    // editItem:titleEditable:allowShortcut: the edited copy on OK, nothing on Cancel, and nothing
    // without a look at the fields while another edit runs.
    std::optional<QVariantMap> edit(const QVariantMap &record, bool titleEditable,
                                    bool allowShortcut, const CaptureShortcut &capture);

    QLineEdit *titleField() const { return mTitle; }
    QLineEdit *abbreviationField() const { return mAbbreviation; }
    QLineEdit *keywordsField() const { return mKeywords; }
    QLineEdit *commentField() const { return mComment; }
    QLabel *shortcutLabel() const { return mShortcut; }
    QPushButton *assignButton() const { return mAssign; }
    QCheckBox *hideOthersBox() const { return mHideOthers; }

signals:
    // Each run of the sheet, once its fields are filled: where tests and scripts step in.
    void running();

private:
    void fill(const QVariantMap &record, bool titleEditable, bool allowShortcut);
    void showShortcut(const QVariantMap &record);

    QLineEdit *mTitle;
    QLineEdit *mAbbreviation;
    QLineEdit *mKeywords;
    QLineEdit *mComment;
    QLabel *mShortcut;
    QLabel *mShortcutTitle;
    QPushButton *mAssign;
    QCheckBox *mHideOthers;
    bool mEditing = false;
};
