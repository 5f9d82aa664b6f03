#include "PasswordSheet.h"

#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

} // namespace

std::optional<QString> PasswordSheet::ask(QWidget *window)
{
    QDialog sheet(window);
    sheet.setObjectName(QStringLiteral("PasswordSheet"));
    sheet.setWindowTitle(text("PasswordSheetTitle"));
    sheet.setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(&sheet);
    auto *label = new QLabel(text("PasswordSheetText"), &sheet);
    label->setWordWrap(true);
    auto *field = new QLineEdit(&sheet);
    field->setObjectName(QStringLiteral("PasswordField"));
    field->setEchoMode(QLineEdit::Password);
    field->setMinimumWidth(280);
    label->setBuddy(field);
    auto *buttons = new QDialogButtonBox(&sheet);
    buttons->addButton(text("OKButton"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(text("CancelButton"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(buttons);
    field->setFocus();
    sheet.raise();
    sheet.activateWindow();
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    QString password = field->text();
    field->clear();
    if (!confirmed)
        return std::nullopt;
    return password;
}

void PasswordSheet::showWrongPassword(QWidget *window, bool critical)
{
    if (critical)
        QOR_WindowsUtils::modalCriticalAlertForWindow(window, text("UncorrectPasswordTitle"),
                                                      text("UncorrectPasswordText"), text("OKButton"), {}, {});
    else
        QOR_WindowsUtils::modalAlertForWindow(window, text("UncorrectPasswordTitle"),
                                              text("UncorrectPasswordText"), text("OKButton"), {}, {});
}

void PasswordSheet::showDamagedNotes(QWidget *window, int count)
{
    QOR_WindowsUtils::modalAlertForWindow(window, text("ProtectedNotesDamagedTitle"),
                                          text("ProtectedNotesDamagedText").arg(count), text("OKButton"), {},
                                          {});
}
