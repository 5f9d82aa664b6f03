#include "AgentEditorDialogs.h"

#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cmath>

using namespace ItemRecord;

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

void addButtons(QDialog &dialog, QLayout *layout)
{
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(text("OKButton"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(text("CancelButton"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

// Ctrl+Return (or Enter) confirms from the fields it watches.
class ConfirmKeys : public QObject
{
public:
    explicit ConfirmKeys(QDialog *dialog)
        : QObject(dialog)
        , mDialog(dialog)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                && key->modifiers().testFlag(Qt::ControlModifier)) {
                mDialog->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog *mDialog;
};

bool run(QDialog &dialog, QWidget *window)
{
    dialog.setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.adjustSize();
    AgentEditorDialogs::placeBeside(&dialog, window);
    dialog.raise();
    dialog.activateWindow();
    return dialog.exec() == QDialog::Accepted;
}

// A limit as the survey reads it: a decimal number with '.' as its point, or empty for no limit
// (as is a lone sign or point, which the field lets through while it is typed).
QString storedLimit(const QLineEdit *field)
{
    QString value = field->text().trimmed();
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    bool number = false;
    const double parsed = QLocale::c().toDouble(value, &number);
    return number && std::isfinite(parsed) ? value : QString();
}

} // namespace

void AgentEditorDialogs::placeBeside(QWidget *dialog, QWidget *window)
{
    if (!window || !window->isVisible()) {
        QOR_WindowsUtils::centerWindow(dialog);
        return;
    }
    const QRect anchor = window->frameGeometry();
    dialog->move(QOR_WindowsUtils::frameBeside(anchor, dialog->frameGeometry().size(),
                                               QOR_WindowsUtils::availableRoomFor(anchor))
                     .topLeft());
}

std::optional<QVariantMap> AgentEditorDialogs::editStock(QWidget *window, const QVariantMap &entry)
{
    QDialog dialog(window);
    dialog.setObjectName(QStringLiteral("StockEditor"));
    dialog.setWindowTitle(text("StockEditorTitle"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *name = new QLabel(string(entry, KeyTitle), &dialog);
    name->setObjectName(QStringLiteral("StockName"));
    name->setTextFormat(Qt::PlainText);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    name->setFont(bold);
    layout->addWidget(name);

    auto *form = new QFormLayout;
    auto *address = new QLineEdit(string(entry, KeyStockURL), &dialog);
    address->setObjectName(QStringLiteral("StockAddress"));
    address->setMinimumWidth(360);
    address->setPlaceholderText(QStringLiteral("https://"));
    // Digits, one decimal point or comma, a sign; empty means no limit of that side.
    const QRegularExpression number(QStringLiteral(R"(\s*[-+]?\d*([.,]\d*)?\s*)"));
    auto *above = new QLineEdit(string(entry, KeyValMin), &dialog);
    above->setObjectName(QStringLiteral("StockAlertAbove"));
    above->setValidator(new QRegularExpressionValidator(number, above));
    auto *below = new QLineEdit(string(entry, KeyValMax), &dialog);
    below->setObjectName(QStringLiteral("StockAlertBelow"));
    below->setValidator(new QRegularExpressionValidator(number, below));
    form->addRow(text("StockEditorAddressLabel"), address);
    form->addRow(text("StockEditorAboveLabel"), above);
    form->addRow(text("StockEditorBelowLabel"), below);
    layout->addLayout(form);
    auto *hint = new QLabel(text("StockEditorHint"), &dialog);
    hint->setWordWrap(true);
    hint->setEnabled(false);
    layout->addWidget(hint);
    addButtons(dialog, layout);
    address->setFocus();
    address->selectAll();

    if (!run(dialog, window))
        return std::nullopt;
    QVariantMap edited = entry;
    edited.insert(KeyStockURL, address->text().trimmed());
    edited.insert(KeyValMin, storedLimit(above));
    edited.insert(KeyValMax, storedLimit(below));
    return edited;
}

std::optional<QVariantMap> AgentEditorDialogs::editNote(QWidget *window, const QVariantMap &note)
{
    QDialog dialog(window);
    dialog.setObjectName(QStringLiteral("AgentNoteEditor"));
    dialog.setWindowTitle(text(kind(note) == KindProtectedNote ? "AgentProtectedNoteEditorTitle"
                                                               : "AgentNoteEditorTitle"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *form = new QFormLayout;
    auto *title = new QLineEdit(string(note, KeyTitle), &dialog);
    title->setObjectName(QStringLiteral("NoteTitle"));
    form->addRow(text("NoteEditorTitleLabel"), title);
    layout->addLayout(form);
    auto *body = new QPlainTextEdit(string(note, KeyText), &dialog);
    body->setObjectName(QStringLiteral("NoteText"));
    body->setMinimumSize(420, 240);
    // The keyboard leaves the text as it leaves any field; Ctrl+Return confirms from anywhere.
    body->setTabChangesFocus(true);
    layout->addWidget(body, 1);
    addButtons(dialog, layout);
    // In the text, Return is a line break; with Ctrl it confirms.
    auto *confirm = new ConfirmKeys(&dialog);
    body->installEventFilter(confirm);
    title->installEventFilter(confirm);
    title->setFocus();

    const bool confirmed = run(dialog, window);
    QVariantMap edited = note;
    edited.insert(KeyTitle, title->text());
    edited.insert(KeyText, body->toPlainText());
    // The fields let go of the text before the dialog goes: a protected note's text stays only in
    // the record the caller encrypts.
    body->clear();
    title->clear();
    if (!confirmed)
        return std::nullopt;
    return edited;
}
