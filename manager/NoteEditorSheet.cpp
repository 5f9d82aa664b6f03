#include "NoteEditorSheet.h"

#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "ShortcutCaptureSheet.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

} // namespace

std::optional<QVariantMap> NoteEditorSheet::edit(QWidget *window, const QVariantMap &note,
                                                 const CaptureShortcut &capture)
{
    QDialog sheet(window);
    sheet.setObjectName(QStringLiteral("NoteEditorSheet"));
    sheet.setWindowTitle(text("NoteEditorTitle"));
    sheet.setWindowModality(Qt::WindowModal);
    auto *form = new QFormLayout(&sheet);
    auto *title = new QLineEdit(note.value(QStringLiteral("T")).toString(), &sheet);
    title->setObjectName(QStringLiteral("NoteTitle"));
    auto *abbreviation = new QLineEdit(note.value(QStringLiteral("A")).toString(), &sheet);
    abbreviation->setObjectName(QStringLiteral("NoteAbbreviation"));
    auto *keywords = new QLineEdit(note.value(QStringLiteral("K")).toString(), &sheet);
    keywords->setObjectName(QStringLiteral("NoteKeywords"));
    auto *hideOthers = new QCheckBox(text("EditorHideApps"), &sheet);
    hideOthers->setObjectName(QStringLiteral("NoteHideOthers"));
    hideOthers->setChecked(note.value(QStringLiteral("H")).toInt() != 0);
    auto *body = new QPlainTextEdit(note.value(QStringLiteral("t")).toString(), &sheet);
    body->setObjectName(QStringLiteral("NoteText"));
    body->setMinimumSize(420, 260);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("NoteEditorTitleLabel")),
                 title);
    form->addRow(
        QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("NoteEditorAbbreviationLabel")),
        abbreviation);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("NoteEditorKeywordsLabel")),
                 keywords);
    form->addRow(body);

    // The shortcut and the box that acts on it, together as in the item editor.
    std::optional<KeyMap> shortcut =
        KeyMap::fromData(note.value(ItemRecord::KeyShortcut).toByteArray());
    if (shortcut && shortcut->isEmpty())
        shortcut.reset();
    auto *keys = new QLabel(&sheet);
    keys->setObjectName(QStringLiteral("NoteShortcut"));
    auto *assign = new QPushButton(&sheet);
    assign->setObjectName(QStringLiteral("NoteAssignShortcut"));
    assign->setAutoDefault(false);
    const auto showShortcut = [&] {
        keys->setText(shortcut ? ShortcutCaptureSheet::keyNames(*shortcut) : QString());
        assign->setText(text(shortcut ? "AssignShortcutClearButton" : "AssignShortcutButton"));
        assign->setEnabled(shortcut || capture);
        hideOthers->setEnabled(shortcut.has_value());
    };
    QObject::connect(assign, &QPushButton::clicked, &sheet, [&] {
        if (shortcut)
            shortcut.reset();
        else if (capture)
            shortcut = capture();
        if (shortcut && shortcut->isEmpty())
            shortcut.reset();
        showShortcut();
    });
    showShortcut();
    auto *shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(keys, 1);
    shortcutRow->addWidget(assign);
    form->addRow(QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("EditorShortcut")),
                 shortcutRow);
    form->addRow(QString(), hideOthers);
    auto *buttons = new QDialogButtonBox(&sheet);
    buttons->addButton(text("OKButton"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(text("CancelButton"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
    form->addRow(buttons);
    title->setFocus();
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    QVariantMap edited = note;
    edited.insert(QStringLiteral("T"), title->text());
    edited.insert(QStringLiteral("A"), abbreviation->text());
    edited.insert(QStringLiteral("K"), keywords->text());
    edited.insert(QStringLiteral("H"), hideOthers->isChecked() ? 1 : 0);
    if (shortcut)
        edited.insert(ItemRecord::KeyShortcut, shortcut->toData());
    else
        edited.remove(ItemRecord::KeyShortcut);
    edited.insert(QStringLiteral("t"), body->toPlainText());
    body->clear();
    if (!confirmed)
        return std::nullopt;
    return edited;
}
